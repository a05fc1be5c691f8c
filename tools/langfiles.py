"""Reading the language source files in res/lang/.

Shared by gen_lang.py (builds res/lang.xml) and check_lang.py (translation checks).
The file format is described for translators in res/lang/README.md.
"""

from __future__ import annotations

import re
from dataclasses import dataclass, field
from pathlib import Path

MASTER_FILE = "en.txt"
LANGUAGES_FILE = "languages.txt"
INT32_MAX = 2**31 - 1

_ID = re.compile(r"(0|[1-9][0-9]*)")
_TAG = re.compile(r"[a-z]{2,8}")
_ESCAPES = {"r": "\r", "n": "\n", "t": "\t", "s": " ", "\\": "\\"}

# Whitespace the table reader drops at the start of a text and trims at its end
# unless written as an entity. A tab or U+3000 has no entity, so it cannot sit there.
LEADING_DROPPED = " \t\r\n"
TRAILING_TRIMMED = " \t\r\n\u3000"


class LangError(Exception):
    """A malformed source file; the message starts with file:line."""


@dataclass
class Language:
    tag: str
    eng_name: str
    true_name: str
    line: int


@dataclass
class Entry:
    id: int
    text: str
    line: int


@dataclass
class TextFile:
    path: Path
    entries: dict[int, Entry] = field(default_factory=dict)  # in file order
    same_ok: set[int] = field(default_factory=set)  # ids acknowledged as equal to English
    keep: set[int] = field(default_factory=set)  # master only: ids identical in every language


def _where(path: Path, line: int) -> str:
    return f"{path}:{line}"


def _read_lines(path: Path) -> list[str]:
    """Lines of a UTF-8 file without their line ends; a leading byte-order mark is skipped."""
    data = path.read_bytes()
    try:
        text = data.decode("utf-8-sig")
    except UnicodeDecodeError as e:
        line = data[: e.start].count(b"\n") + 1
        raise LangError(f"{_where(path, line)}: not valid UTF-8 ({e.reason})") from None
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    return [ln[:-1] if ln.endswith("\r") else ln for ln in lines]


def _check_chars(text: str, where: str) -> None:
    for ch in text:
        code = ord(ch)
        if ch in "\r\n\t":
            continue
        if code < 0x20 or code == 0x7F or 0xD800 <= code <= 0xDFFF or code in (0xFFFE, 0xFFFF):
            raise LangError(f"{where}: character U+{code:04X} is not allowed in a text")


def unescape(raw: str, where: str) -> str:
    """Turns the written form of a text into the text itself; refuses what the table would lose."""
    if raw == "":
        raise LangError(f"{where}: empty text (remove the line to fall back to English)")
    if raw[0] in " \t" or raw[-1] in " \t":
        raise LangError(f"{where}: blank at the start or end of the text would be lost; write \\s")
    out = []
    i = 0
    while i < len(raw):
        ch = raw[i]
        if ch == "\\":
            if i + 1 >= len(raw) or raw[i + 1] not in _ESCAPES:
                seq = raw[i : i + 2]
                raise LangError(f"{where}: unknown escape {seq!r} (use \\r\\n, \\t, \\s or \\\\)")
            out.append(_ESCAPES[raw[i + 1]])
            i += 2
        else:
            out.append(ch)
            i += 1
    text = "".join(out)
    _check_chars(text, where)
    if text[0] == "\t" or text[-1] in "\t\u3000":
        raise LangError(f"{where}: a tab or ideographic space at the start or end would be lost")
    return text


def escape(text: str) -> str:
    """The written form of a text (inverse of unescape)."""
    out = []
    for i, ch in enumerate(text):
        if ch == "\\":
            out.append("\\\\")
        elif ch == "\r":
            out.append("\\r")
        elif ch == "\n":
            out.append("\\n")
        elif ch == "\t":
            out.append("\\t")
        elif ch == " " and (i == 0 or i == len(text) - 1):
            out.append("\\s")
        else:
            out.append(ch)
    return "".join(out)


def parse_id(raw: str, where: str) -> int:
    if not _ID.fullmatch(raw):
        raise LangError(f"{where}: entry id {raw!r} is not a decimal number")
    value = int(raw)
    if value > INT32_MAX:
        raise LangError(f"{where}: entry id {raw} is larger than {INT32_MAX}")
    return value


def _parse_id_list(body: str, where: str) -> set[int]:
    return {parse_id(tok, where) for tok in body.split()}


# Directive notes: "#!same 400080 400340" in a translation acknowledges texts the translator
# means to be equal to the English ones; "#!keep ..." in the master names the entries that must
# be identical in every language (names, addresses, the version).
_DIRECTIVES = {"#!same": "same_ok", "#!keep": "keep"}


def read_text_file(path: Path) -> TextFile:
    result = TextFile(path)
    for number, line in enumerate(_read_lines(path), start=1):
        where = _where(path, number)
        directive = line.split(" ", 1)[0]
        if directive in _DIRECTIVES:
            ids = _parse_id_list(line[len(directive) :], where)
            getattr(result, _DIRECTIVES[directive]).update(ids)
            continue
        if line == "" or line.startswith("#"):
            continue
        if "\t" not in line:
            raise LangError(f"{where}: expected '<entry id><TAB><text>'")
        raw_id, raw_text = line.split("\t", 1)
        entry_id = parse_id(raw_id, where)
        if entry_id in result.entries:
            first = result.entries[entry_id].line
            raise LangError(f"{where}: entry {entry_id} already given on line {first}")
        result.entries[entry_id] = Entry(entry_id, unescape(raw_text, where), number)
    return result


def read_languages(path: Path) -> list[Language]:
    languages: list[Language] = []
    seen: dict[str, int] = {}
    for number, line in enumerate(_read_lines(path), start=1):
        where = _where(path, number)
        if line == "" or line.startswith("#"):
            continue
        parts = line.split("\t")
        if len(parts) != 3 or not all(parts):
            raise LangError(f"{where}: expected '<tag><TAB><English name><TAB><native name>'")
        tag, eng_name, true_name = parts
        if not _TAG.fullmatch(tag):
            raise LangError(f"{where}: tag {tag!r} must be 2 to 8 lower-case letters")
        if tag in seen:
            raise LangError(f"{where}: tag {tag!r} already listed on line {seen[tag]}")
        for value in (eng_name, true_name):
            _check_chars(value, where)
            if value != value.strip():
                raise LangError(f"{where}: blank at the start or end of {value!r}")
        seen[tag] = number
        languages.append(Language(tag, eng_name, true_name, number))
    if not languages:
        raise LangError(f"{path}: no languages listed")
    if languages[0].eng_name != "English":
        raise LangError(f"{_where(path, languages[0].line)}: the first language must be English")
    return languages


def language_file(folder: Path, languages: list[Language], language: Language) -> Path:
    """The master (first) language lives in en.txt; every other one in <tag>.txt."""
    if language is languages[0]:
        return folder / MASTER_FILE
    return folder / f"{language.tag}.txt"


def unlisted_files(folder: Path, languages: list[Language]) -> list[Path]:
    """Text files whose name is not one of the listed languages' files, sorted by name."""
    known = {language_file(folder, languages, lang).name for lang in languages}
    known.add(LANGUAGES_FILE)
    return sorted(p for p in folder.glob("*.txt") if p.name not in known)


def check_ids_known(master: TextFile, other: TextFile) -> None:
    for entry in other.entries.values():
        if entry.id not in master.entries:
            where = _where(other.path, entry.line)
            raise LangError(f"{where}: entry {entry.id} is not in {MASTER_FILE}")
