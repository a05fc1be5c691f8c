#!/usr/bin/env python3
"""Tests of gen_lang.py and check_lang.py:  python3 -m unittest tools/test_lang_tools.py

The generated table is read back with the rules of the program's own XML reader (root element
first, only &amp; &lt; &gt; &#160; &#13; &#10; known in text, leading whitespace dropped and
trailing whitespace trimmed unless written as an entity), so a text that would reach the user
changed fails here.
"""

from __future__ import annotations

import contextlib
import io
import re
import sys
import tempfile
import unittest
from pathlib import Path

TOOLS = Path(__file__).resolve().parent
sys.path.insert(0, str(TOOLS))
import check_lang  # noqa: E402
import gen_lang  # noqa: E402
import langfiles as lf  # noqa: E402

ROOT = TOOLS.parent

_TEXT_ENTITIES = {"&amp;": "&", "&lt;": "<", "&gt;": ">", "&#160;": " ", "&#13;": "\r", "&#10;": "\n"}
_ATTR_ENTITIES = {"&amp;": "&", "&lt;": "<", "&quot;": '"', "&#13;": "\r", "&#10;": "\n"}


def decode(stored: str, entities: dict[str, str], trim: bool) -> str:
    """The reader's entity decoding; for text also its whitespace dropping and trimming."""
    out, keep, i = [], 0, 0
    if trim:
        stored = stored.lstrip(" \t\r\n")
    while i < len(stored):
        for name, ch in entities.items():
            if stored.startswith(name, i):
                out.append(ch)
                i += len(name)
                keep = len(out)
                break
        else:
            out.append(stored[i])
            i += 1
    text = "".join(out)
    if trim:
        text = text[:keep] + text[keep:].rstrip(" \n\u3000\t\r")
    return text


def read_table(data: bytes):
    """(languages as (tag, eng, true) tuples, {id: [(tag, text), ...]}) as the program sees them."""
    text = data.decode("utf-8")
    assert text.startswith("<lang>"), "the root element must come first"
    languages = [
        tuple(decode(v, _ATTR_ENTITIES, trim=False) for v in m.groups())
        for m in re.finditer(r'<entry tagName="([^"]*)" engName="([^"]*)" trueName="([^"]*)">', text)
    ]
    entries = {}
    for m in re.finditer(r'<entry id="(\d+)">(.*?)</entry>', text):
        children = re.findall(r"<(\w+)>([^<]*)</\1>", m.group(2))
        entries[int(m.group(1))] = [(tag, decode(v, _TEXT_ENTITIES, trim=True)) for tag, v in children]
    return languages, entries


class Fixture:
    """A small res/lang folder in a temporary directory."""

    LANGUAGES = "eng\tEnglish\tEnglish\ndeu\tGerman\tDeutsch\nfra\tFrench\tFrançais\n"
    ENGLISH = (
        "#!keep 500010\n"
        "400330\t\\s      Yes      \\s\n"
        "1012000\tErasing Complete!\\r\\nNo data can be recovered any more.\n"
        "1001100\tErase the drive [ * ] ?\n"
        "609450\tReady\n"
        "500010\t1.00\n"
    )
    GERMAN = (
        "400330\t\\s      Ja      \\s\n"
        "1012000\tLöschen fertig!\\r\\nKeine Daten mehr.\n"
        "1001100\tLaufwerk [ * ] löschen?\n"
        "609450\tBereit\n"
        "500010\t1.00\n"
    )

    def __init__(self, test: unittest.TestCase, **files: str):
        self._dir = tempfile.TemporaryDirectory()
        test.addCleanup(self._dir.cleanup)
        self.path = Path(self._dir.name)
        contents = {"languages": self.LANGUAGES, "en": self.ENGLISH, "deu": self.GERMAN}
        contents.update(files)
        for name, content in contents.items():
            if content is not None:
                (self.path / f"{name}.txt").write_text(content, encoding="utf-8")

    def generate(self, *extra: str) -> tuple[int, str, Path]:
        out = self.path / "lang.xml"
        err = io.StringIO()
        with contextlib.redirect_stderr(err):
            rc = gen_lang.main(["--src", str(self.path), "--out", str(out), *extra])
        return rc, err.getvalue(), out


class GeneratedTableTest(unittest.TestCase):
    def test_texts_reach_the_reader_unchanged(self):
        cases = {
            400330: " " + " " * 6 + "Yes" + " " * 6 + " ",
            1012000: "Erasing Complete!\r\nNo data can be recovered any more.",
            1: 'a & b < c > d "e"',
            2: "tab\tinside, two  blanks",
            3: "\\ ends with break\r\n",
            4: " ",
        }
        english = "".join(f"{i}\t{lf.escape(t)}\n" for i, t in cases.items())
        fx = Fixture(self, en=english, deu=None, fra=None)
        rc, _, out = fx.generate()
        self.assertEqual(rc, 0)
        _, entries = read_table(out.read_bytes())
        self.assertEqual({i: e[0] for i, e in entries.items()}, {i: ("eng", t) for i, t in cases.items()})
        self.assertEqual(len(entries[400330][0][1]), 17)

    def test_document_shape(self):
        fx = Fixture(self, vec="609450\tPronto\n")
        rc, _, out = fx.generate()
        self.assertEqual(rc, 0)
        data = out.read_bytes()
        self.assertFalse(data.startswith(b"\xef\xbb\xbf"))
        self.assertNotIn(b"\n", data.replace(b"\r\n", b""), "only CR LF line ends")
        languages, entries = read_table(data)
        self.assertEqual(languages, [("eng", "English", "English"), ("deu", "German", "Deutsch"),
                                     ("fra", "French", "Français")])
        self.assertEqual(list(entries), [400330, 1012000, 1001100, 609450, 500010], "master order")
        self.assertEqual(entries[609450], [("eng", "Ready"), ("deu", "Bereit"), ("vec", "Pronto")])

    def test_missing_translations_fall_back_and_are_reported(self):
        german = "".join(ln + "\n" for ln in Fixture.GERMAN.splitlines() if not ln.startswith("609450"))
        fx = Fixture(self, deu=german)
        rc, err, out = fx.generate()
        self.assertEqual(rc, 0)
        _, entries = read_table(out.read_bytes())
        self.assertEqual(entries[609450], [("eng", "Ready")], "English stays first: the fallback")
        self.assertIn("deu.txt: entry 609450", err)
        self.assertIn("MISSING FILE", err)
        self.assertIn("fra.txt", err)
        self.assertEqual(fx.generate("--strict")[0], 1)

    def test_check_mode_detects_a_stale_table(self):
        fx = Fixture(self)
        _, _, out = fx.generate()
        self.assertEqual(fx.generate("--check")[0], 0)
        (fx.path / "deu.txt").write_text(Fixture.GERMAN.replace("Bereit", "Fertig"), encoding="utf-8")
        self.assertEqual(fx.generate("--check")[0], 1)
        self.assertNotIn("Fertig".encode(), out.read_bytes(), "--check writes nothing")

    def test_malformed_lines_stop_the_build_with_file_and_line(self):
        cases = [
            ("en", "609450 Ready\n", "en.txt:1", "expected"),
            ("en", "60945a\tReady\n", "en.txt:1", "not a decimal"),
            ("en", "0609450\tReady\n", "en.txt:1", "not a decimal"),
            ("en", "3000000000\tBig\n", "en.txt:1", "larger"),
            ("en", "1\ta\n# note\n1\tb\n", "en.txt:3", "already given on line 1"),
            ("en", "1\tbad \\x escape\n", "en.txt:1", "unknown escape"),
            ("en", "1\tends with a backslash\\\n", "en.txt:1", "unknown escape"),
            ("en", "1\ttrailing blank \n", "en.txt:1", "\\s"),
            ("en", "1\t\n", "en.txt:1", "empty"),
            ("en", "1\t\\tlead tab\n", "en.txt:1", "tab"),
            ("en", "1\tbell\x07\n", "en.txt:1", "U+0007"),
            ("deu", b"609450\tok\n609450\t\xff\n", "deu.txt:2", "UTF-8"),
            ("deu", "609450\tBereit\n777\tWas?\n", "deu.txt:2", "not in en.txt"),
            ("languages", "eng\tEnglish\n", "languages.txt:1", "expected"),
            ("languages", "deu\tGerman\tDeutsch\neng\tEnglish\tEnglish\n", "languages.txt:1", "English"),
            ("languages", "eng\tEnglish\tEnglish\neng\tEnglish\tX\n", "languages.txt:2", "already"),
        ]
        for name, content, where, reason in cases:
            with self.subTest(name=name, content=content):
                fx = Fixture(self, **{name: None})
                raw = content if isinstance(content, bytes) else content.encode("utf-8")
                (fx.path / f"{name}.txt").write_bytes(raw)
                rc, err, out = fx.generate()
                self.assertEqual(rc, 1)
                self.assertIn(where, err)
                self.assertIn(reason, err)
                self.assertFalse(out.exists())

    def test_byte_order_mark_and_crlf_in_sources_are_accepted(self):
        fx = Fixture(self)
        (fx.path / "deu.txt").write_bytes(b"\xef\xbb\xbf" + Fixture.GERMAN.replace("\n", "\r\n").encode())
        rc, _, out = fx.generate()
        self.assertEqual(rc, 0)
        self.assertEqual(read_table(out.read_bytes())[1][609450][1], ("deu", "Bereit"))


class ShippedTableTest(unittest.TestCase):
    """The committed res/lang.xml against its sources."""

    def setUp(self):
        self.data = (ROOT / "res" / "lang.xml").read_bytes()
        self.languages, self.entries = read_table(self.data)

    def test_committed_table_is_up_to_date(self):
        with contextlib.redirect_stderr(io.StringIO()):
            self.assertEqual(gen_lang.main(["--check"]), 0)

    def test_every_entry_starts_with_english_and_unlisted_tags_are_present(self):
        self.assertEqual(len(self.languages), 38)
        self.assertEqual(self.languages[0], ("eng", "English", "English"))
        listed = {tag for tag, _, _ in self.languages}
        seen_unlisted = set()
        for entry_id, texts in self.entries.items():
            self.assertEqual(texts[0][0], "eng", entry_id)
            self.assertTrue(texts[0][1], entry_id)
            seen_unlisted |= {tag for tag, _ in texts} - listed
        self.assertEqual(seen_unlisted, {"vec", "rom"})

    def test_texts_the_program_depends_on(self):
        english = {i: t[0][1] for i, t in self.entries.items()}
        self.assertEqual(english[400330], "       Yes       ")
        self.assertEqual(english[1012000], "Erasing Complete!\r\nNo data can be recovered any more.")
        self.assertEqual(english[300000], "Vonq Nulmark")
        self.assertRegex(english[500010], r"^[^.]*\.\d\d$", "the version check needs two digits")
        self.assertTrue(english[500006].endswith("/"), '"check/" is appended to it')
        self.assertTrue(english[400200], "an empty 400200 switches the version check off")


class CheckToolTest(unittest.TestCase):
    def problems(self, fx: Fixture, *tags: str) -> list[str]:
        return check_lang.run(fx.path, list(tags) or None)

    def test_complete_translation_passes(self):
        fx = Fixture(self, fra=None)
        self.assertEqual(self.problems(fx, "deu"), [])

    def test_reports(self):
        G = Fixture.GERMAN
        cases = [
            ("missing entry", G.replace("609450\tBereit\n", ""), "entry 609450 is missing"),
            ("same text", G.replace("Bereit", "Ready"), "609450 is the English text"),
            ("case and punctuation", G.replace("Bereit", "READY!"), "609450 is the English text"),
            ("English with a suffix", G.replace("Löschen fertig!\\r\\nKeine Daten mehr.",
                                                "Erasing Complete!\\r\\nNo data can be recovered any more. (de)"),
             "1012000 is the English text"),
            ("keep entry changed", G.replace("500010\t1.00", "500010\t1,00"), "500010 must be exactly"),
            ("line break lost", G.replace("\\r\\n", " "), "line break"),
            ("placeholder lost", G.replace("[ * ]", "[ ]"), '"*"'),
            ("placeholder doubled", G.replace("[ * ]", "[ * ] *"), '"*"'),
            ("padding lost", G.replace("\\s      Ja      \\s", "Ja"), "padding at its start"),
        ]
        for name, german, expected in cases:
            with self.subTest(name):
                fx = Fixture(self, deu=german)
                problems = self.problems(fx, "deu")
                self.assertEqual(len(problems), 1, problems)
                self.assertIn(expected, problems[0])
                self.assertIn("deu.txt", problems[0])

    def test_same_note_accepts_an_intended_english_word(self):
        fx = Fixture(self, deu="#!same 609450\n" + Fixture.GERMAN.replace("Bereit", "Ready"))
        self.assertEqual(self.problems(fx, "deu"), [])

    def test_missing_file_and_unknown_tag(self):
        fx = Fixture(self)
        self.assertEqual(self.problems(fx), [f"{fx.path / 'fra.txt'}: missing (French has no translations)"])
        with self.assertRaises(lf.LangError):
            self.problems(fx, "xx")


if __name__ == "__main__":
    unittest.main()
