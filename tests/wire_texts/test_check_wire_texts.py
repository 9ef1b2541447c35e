"""The wire texts check finds what it is there to find."""
import pathlib
import tempfile
import textwrap
import unittest

from check_wire_texts import problems

HEADER = textwrap.dedent('''\
    #pragma once

    inline constexpr char kNoToken[] = "No token with serial number ";
    inline constexpr char kLoginFirst[] = "Must login first";
    inline constexpr char kWriteLoginToImport[] =
        "Must login in write mode to be able to import certificate";
    ''')
USE = ('void f() { throw TokenException(kNoToken + s); }\n'
       'void g() { r(kLoginFirst, kWriteLoginToImport); }\n')


class WireTextsCheckTest(unittest.TestCase):
    def check(self, files):
        with tempfile.TemporaryDirectory() as folder:
            root = pathlib.Path(folder)
            for name, text in files.items():
                (root / name).parent.mkdir(parents=True, exist_ok=True)
                (root / name).write_text(text)
            return problems(root)

    def test_texts_written_once_and_used_pass(self):
        self.assertEqual(self.check({"token/token_errors.h": HEADER, "token/a.cpp": USE}), [])

    def test_each_fault_is_named(self):
        cases = {
            "a copy of a text": ('x("Must login first");\n', '"Must login first" (kLoginFirst) is written 2 times'),
            "a copy of a wrapped text": ('x("Must login in write mode to be able to import certificate");\n',
                                         "(kWriteLoginToImport) is written 2 times"),
            "a text used nowhere": ("", "kLoginFirst is used nowhere"),
            "an error built from a literal": ('throw HandlerException("Not Implemented");\n',
                                              "a.cpp:3: an error built from a literal"),
            "a string built from a literal": ('throw TokenException(std::string("Bad ") + c);\n',
                                              "a.cpp:3: an error built from a literal"),
            "a login refusal written in place": ('s->requireLogin(LoginAccess::Any,\n "Must sign");\n',
                                                 "a.cpp:3: an error built from a literal"),
        }
        for what, (extra, expected) in cases.items():
            with self.subTest(what):
                use = USE if "used nowhere" not in what else USE.replace("kLoginFirst", "other")
                found = self.check({"token/token_errors.h": HEADER, "token/a.cpp": use + extra})
                self.assertTrue(any(expected in problem for problem in found), found)

    def test_no_header_is_no_pass(self):
        self.assertEqual(len(self.check({"token/a.cpp": USE})), 1)


if __name__ == "__main__":
    unittest.main()
