"""The Python tools' framing: the bytes a host reads and writes."""
import io
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import native_messaging  # noqa: E402


class NativeMessagingTest(unittest.TestCase):
    def test_a_frame_is_the_little_endian_length_then_the_bytes(self):
        cases = {
            "empty": (b"", b"\0\0\0\0"),
            "two bytes": (b"{}", b"\x02\0\0\0{}"),
            "300 bytes": (b"m" * 300, b"\x2c\x01\0\0" + b"m" * 300),
        }
        for what, (data, framed) in cases.items():
            with self.subTest(what):
                self.assertEqual(native_messaging.frame(data), framed)
                self.assertEqual(native_messaging.read_frame(io.BytesIO(framed + b"next")), data)

    def test_split_keeps_what_is_no_whole_frame(self):
        two = native_messaging.frame(b"a") + native_messaging.frame(b"bc")
        cases = {
            "whole frames": (two, None, [b"a", b"bc"], b""),
            "a cut prefix": (two + b"\x05\0", None, [b"a", b"bc"], b"\x05\0"),
            "a cut text": (two + b"\x05\0\0\0ab", None, [b"a", b"bc"], b"\x05\0\0\0ab"),
            "a frame over the limit": (two, 1, [b"a"], native_messaging.frame(b"bc")),
        }
        for what, (output, limit, texts, rest) in cases.items():
            with self.subTest(what):
                self.assertEqual(native_messaging.split_frames(output, limit), (texts, rest))

    def test_a_stream_ending_inside_a_frame_gives_none(self):
        for cut in (b"", b"\x02\0", b"\x02\0\0\0{"):
            with self.subTest(cut=cut):
                self.assertIsNone(native_messaging.read_frame(io.BytesIO(cut)))


if __name__ == "__main__":
    unittest.main()
