#!/usr/bin/env python3
"""Checks the translations in res/lang/ against the English master en.txt.

    python3 tools/check_lang.py [--src res/lang] [--lang TAG ...]

For every listed language (or only those given with --lang):
  - its file exists and has a text for every entry of en.txt (malformed lines, unknown ids and
    empty texts are reported by the shared reader with file:line);
  - the entries named by "#!keep" in en.txt (names, addresses, version) equal the English ones;
  - every other text is a translation, not English in disguise: equal to the English text apart
    from letter case, blanks and punctuation, or the English text with something added, counts
    as untranslated unless the file acknowledges it with "#!same <id> ..." (for words that are
    the same in that language, such as "URL:");
  - line breaks, the "*" drive placeholder and the padding blanks at the edges are kept.
Exit status 0 when all is well, 1 when anything is reported.
"""

from __future__ import annotations

import argparse
import sys
import unicodedata
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import langfiles as lf  # noqa: E402

ROOT = Path(__file__).resolve().parent.parent
PLACEHOLDER = "*"
# Entries whose "*" is replaced by the drive root; every "*" in them is replaced.
PLACEHOLDER_IDS = (1001100, 1001101)
# An English text this long found inside a translation means the translation only added to it.
MIN_EMBEDDED = 12


def normalise(text: str) -> str:
    """Letters and digits only, case-folded: what stays when blanks and punctuation go."""
    return "".join(ch for ch in text.casefold() if unicodedata.category(ch)[0] in "LN")


def looks_english(english: str, text: str) -> bool:
    plain_en, plain = normalise(english), normalise(text)
    if not plain_en:
        return False
    return plain == plain_en or (len(plain_en) >= MIN_EMBEDDED and plain_en in plain)


def shape_problems(entry_id: int, english: str, text: str) -> list[str]:
    """Structure the program relies on: line breaks, placeholder, edge padding."""
    problems = []
    if text.count("\r\n") != english.count("\r\n"):
        problems.append(f"has {text.count(chr(13) + chr(10))} line break(s) (\\r\\n), "
                        f"English has {english.count(chr(13) + chr(10))}")
    if entry_id in PLACEHOLDER_IDS and text.count(PLACEHOLDER) != english.count(PLACEHOLDER):
        problems.append(f'must hold exactly {english.count(PLACEHOLDER)} "{PLACEHOLDER}" '
                        f"(the drive is put in its place)")
    for want, padded in (("keep", True), ("not add", False)):
        edges = [label for edge, label in ((0, "start"), (-1, "end"))
                 if (english[edge] == " ") == padded and (text[edge] == " ") != padded]
        if edges:
            problems.append(f"must {want} the \\s padding at its {' and '.join(edges)}")
    return problems


def check_language(master: lf.TextFile, text_file: lf.TextFile) -> list[str]:
    problems = []
    path = text_file.path
    for entry_id, english in master.entries.items():
        entry = text_file.entries.get(entry_id)
        if entry is None:
            problems.append(f"{path}: entry {entry_id} is missing")
            continue
        where = f"{path}:{entry.line}: entry {entry_id}"
        if entry_id in master.keep:
            if entry.text != english.text:
                problems.append(f"{where} must be exactly {lf.escape(english.text)!r}")
            continue
        if looks_english(english.text, entry.text) and entry_id not in text_file.same_ok:
            problems.append(f"{where} is the English text (translate it, or list the id in a "
                            f"'#!same' note when it is the same in this language)")
        problems += [f"{where} {p}" for p in shape_problems(entry_id, english.text, entry.text)]
    return problems


def run(folder: Path, only: list[str] | None = None) -> list[str]:
    languages = lf.read_languages(folder / lf.LANGUAGES_FILE)
    master = lf.read_text_file(lf.language_file(folder, languages, languages[0]))
    unknown_keep = sorted(master.keep - master.entries.keys())
    if unknown_keep:
        raise lf.LangError(f"{master.path}: '#!keep' names ids it does not have: {unknown_keep}")
    tags = {lang.tag for lang in languages}
    for tag in only or []:
        if tag not in tags:
            raise lf.LangError(f"language tag {tag!r} is not in {lf.LANGUAGES_FILE}")
    problems = []
    for lang in languages[1:]:
        if only and lang.tag not in only:
            continue
        path = lf.language_file(folder, languages, lang)
        if not path.exists():
            problems.append(f"{path}: missing ({lang.eng_name} has no translations)")
            continue
        text_file = lf.read_text_file(path)
        lf.check_ids_known(master, text_file)
        problems += check_language(master, text_file)
    return problems


def main(argv: list[str] | None = None) -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[1])
    parser.add_argument("--src", type=Path, default=ROOT / "res" / "lang")
    parser.add_argument("--lang", action="append", metavar="TAG")
    args = parser.parse_args(argv)
    try:
        problems = run(args.src, args.lang)
    except (lf.LangError, OSError) as e:
        print(f"error: {e}", file=sys.stderr)
        return 1
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} problem(s)", file=sys.stderr)
        return 1
    print("all translations complete", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
