#!/usr/bin/env python3
"""Builds the embedded language table res/lang.xml from the sources in res/lang/.

    python3 tools/gen_lang.py [--src res/lang] [--out res/lang.xml] [--check] [--strict]

The table is UTF-8 without byte-order mark, with CR LF line ends, and begins with its root
element (the program's XML reader accepts no declaration or comment before it). Each entry
lists the English text first, then the listed languages in menu order, then the texts of the
unlisted languages (vec.txt, rom.txt), which the program skips.

A language file that lacks an entry gets no element for it, so the program shows the entry's
first (English) text in that language; every such gap is reported on stderr. A malformed line
in any file stops the build with file:line and exit status 1.

--check   write nothing; exit 1 when the output file is not what the sources give
--strict  exit 1 when any translation is missing
"""

from __future__ import annotations

import argparse
import re
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import langfiles as lf  # noqa: E402

ROOT = Path(__file__).resolve().parent.parent
_UNLISTED_TAG = re.compile(r"[a-z]{2,8}")


def encode_text(text: str) -> str:
    """Element content that the program's reader decodes back to exactly `text`.

    The reader drops leading whitespace and trims trailing whitespace except where it was
    written as an entity, so a space at either edge becomes &#160; (read as a plain space)."""
    out = []
    last = len(text) - 1
    for i, ch in enumerate(text):
        if ch == "&":
            out.append("&amp;")
        elif ch == "<":
            out.append("&lt;")
        elif ch == ">":
            out.append("&gt;")
        elif ch == "\r":
            out.append("&#13;")
        elif ch == "\n":
            out.append("&#10;")
        elif ch == " " and (i == 0 or i == last):
            out.append("&#160;")
        else:
            out.append(ch)
    return "".join(out)


def encode_attr(value: str) -> str:
    return value.replace("&", "&amp;").replace("<", "&lt;").replace('"', "&quot;")


class Sources:
    """Every source file of the table, read and validated."""

    def __init__(self, folder: Path):
        self.folder = folder
        self.languages = lf.read_languages(folder / lf.LANGUAGES_FILE)
        master_path = lf.language_file(folder, self.languages, self.languages[0])
        self.master = lf.read_text_file(master_path)
        if not self.master.entries:
            raise lf.LangError(f"{master_path}: no entries")
        self.files: dict[str, lf.TextFile | None] = {}
        self.missing_files: list[Path] = []
        for lang in self.languages[1:]:
            self.files[lang.tag] = self._read_other(lf.language_file(folder, self.languages, lang))
        self.unlisted: list[tuple[str, lf.TextFile]] = []
        for path in lf.unlisted_files(folder, self.languages):
            if not _UNLISTED_TAG.fullmatch(path.stem):
                raise lf.LangError(f"{path}: file name is not a language tag (2 to 8 letters a-z)")
            self.unlisted.append((path.stem, self._read_other(path)))

    def _read_other(self, path: Path) -> lf.TextFile | None:
        if not path.exists():
            self.missing_files.append(path)
            return None
        text_file = lf.read_text_file(path)
        lf.check_ids_known(self.master, text_file)
        return text_file

    def gaps(self) -> dict[str, list[int]]:
        """For each listed language with a file: the master ids it lacks."""
        result = {}
        for tag, text_file in self.files.items():
            if text_file is None:
                continue
            lacking = [i for i in self.master.entries if i not in text_file.entries]
            if lacking:
                result[tag] = lacking
        return result


def _texts_of(sources: Sources, entry_id: int) -> list[tuple[str, str]]:
    texts = [(sources.languages[0].tag, sources.master.entries[entry_id].text)]
    for lang in sources.languages[1:]:
        text_file = sources.files[lang.tag]
        if text_file is not None and entry_id in text_file.entries:
            texts.append((lang.tag, text_file.entries[entry_id].text))
    for tag, text_file in sources.unlisted:
        if entry_id in text_file.entries:
            texts.append((tag, text_file.entries[entry_id].text))
    return texts


def render(sources: Sources) -> bytes:
    lines = ["<lang>", "<languages>"]
    for lang in sources.languages:
        lines.append(
            f'<entry tagName="{encode_attr(lang.tag)}" engName="{encode_attr(lang.eng_name)}" '
            f'trueName="{encode_attr(lang.true_name)}"></entry>'
        )
    lines += ["</languages>", "<entries>"]
    for entry_id in sources.master.entries:
        texts = _texts_of(sources, entry_id)
        body = "".join(f"<{tag}>{encode_text(t)}</{tag}>" for tag, t in texts)
        lines.append(f'<entry id="{entry_id}">{body}</entry>')
    lines += ["</entries>", "</lang>", ""]
    return "\r\n".join(lines).encode("utf-8")


def report(sources: Sources, out=None) -> int:
    """Prints the fall-backs loudly (to stderr by default); returns the number missing."""
    out = out or sys.stderr
    total = len(sources.master.entries)
    missing = 0
    for path in sources.missing_files:
        print(f"MISSING FILE {path}: all {total} entries show the English text", file=out)
        missing += total
    for tag, lacking in sources.gaps().items():
        path = sources.files[tag].path
        for entry_id in lacking:
            print(f"MISSING {path}: entry {entry_id} shows the English text", file=out)
        missing += len(lacking)
    for tag, text_file in sources.unlisted:
        print(f"note: {text_file.path}: tag '{tag}' is not in {lf.LANGUAGES_FILE}; "
              f"its {len(text_file.entries)} texts are written but never loaded", file=out)
    if missing:
        print(f"WARNING: {missing} missing translation(s); those texts fall back to English",
              file=out)
    return missing


def main(argv: list[str] | None = None) -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[1])
    parser.add_argument("--src", type=Path, default=ROOT / "res" / "lang")
    parser.add_argument("--out", type=Path, default=ROOT / "res" / "lang.xml")
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--strict", action="store_true")
    args = parser.parse_args(argv)
    try:
        sources = Sources(args.src)
    except (lf.LangError, OSError) as e:
        print(f"error: {e}", file=sys.stderr)
        return 1
    missing = report(sources)
    data = render(sources)
    current = args.out.read_bytes() if args.out.exists() else None
    if args.check:
        if current != data:
            print(f"error: {args.out} is out of date; run tools/gen_lang.py", file=sys.stderr)
            return 1
    elif current != data:
        args.out.write_bytes(data)
        print(f"wrote {args.out} ({len(data)} bytes, {len(sources.master.entries)} entries, "
              f"{len(sources.languages)} languages)", file=sys.stderr)
    if args.strict and missing:
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
