#!/usr/bin/env python3
"""Sign requests with large payloads, generated from a seed, for the
benchmarks of whole requests over pipes.

Two kinds of payload:
- a string of ordinary text dense with JSON escapes: quotes, backslashes,
  \\u escapes (surrogate pairs among them), line breaks and tabs, in text of
  several scripts;
- an object of short string members, with keys and values of varied lengths,
  some with escapes, in no particular order.

The same seed gives the same bytes. Run it to write the requests to files:
    bench/payloads.py --seed 7 --out DIR
"""

import argparse
import os
import random

CERTIFICATE_SN = "02055a17c0de42"

WORDS = (
    "the a of to and in is it you that he was for on are with as his they be at one have this "
    "from or had by word but what some we can out other were all there when up use your how said "
    "an each she which do their time if will way about many then them write would like so these "
    "her long make thing see him two has look more day could go come did number sound no most "
    "people my over know water than call first who may down side been now find any new work part "
    "take get place made live where after back little only round man year came show every good "
    "contract invoice signature payment amount account transfer order reference total due date"
).split()
# Accented words and words of other scripts: what a page's text holds besides
# ASCII (two- and three-byte UTF-8). Characters beyond the BMP (surrogate pairs
# in \u escapes) only in objects: one of them makes CPython hold a whole string
# at four bytes a character, which would slow the baseline down.
FOREIGN = ("café", "naïve", "Grüße", "façade", "Ελλάδα", "Москва", "東京", "서울", "€100", "½",
           "ß", "Ærø", "São Paulo", "Zürich", "déjà vu")
EMOJI = ("👍", "😀", "𝄞")
# Punctuation, quotes and backslashes as ordinary text has them.
PUNCTUATION = (".", ",", ";", ":", "!", "?", " - ", "(", ")", "\"", "'", "/", "\\", "C:\\Users\\",
               "\"quoted\"", "a\\b", "50%", "#", "&", "<", ">", "=")


def encode_char(ch, rng):
    """One character as it appears inside a JSON string literal."""
    code = ord(ch)
    if ch == '"':
        return '\\"'
    if ch == "\\":
        return "\\\\"
    if ch == "\n":
        return "\\n"
    if ch == "\t":
        return "\\t"
    if ch == "\r":
        return "\\r"
    if code < 0x20:
        return "\\u%04x" % code
    if ch == "/" and rng.random() < 0.5:
        return "\\/"
    if code >= 0x80 and rng.random() < 0.5:
        if code >= 0x10000:
            code -= 0x10000
            return "\\u%04x\\u%04X" % (0xD800 + (code >> 10), 0xDC00 + (code & 0x3FF))
        return "\\u%04x" % code if rng.random() < 0.5 else "\\u%04X" % code
    return ch


def encode(text, rng):
    return "".join(encode_char(ch, rng) for ch in text)


def sentence(rng, words, foreign=FOREIGN):
    """Words, punctuation, quotes and backslashes, ending in a line break."""
    parts = []
    for _ in range(words):
        roll = rng.random()
        if roll < 0.06:
            parts.append(rng.choice(foreign))
        elif roll < 0.20:
            parts.append(rng.choice(PUNCTUATION))
        else:
            parts.append(rng.choice(WORDS))
        parts.append(rng.choice((" ", " ", " ", " ", " ", " ", " ", "\t")))
    parts.append(rng.choice((".\n", "\n", "\n\n", ".\r\n")))
    return "".join(parts)


def escape_dense_literal(size, rng):
    """A JSON string literal, quotes included, of about `size` bytes."""
    # A pool of encoded sentences of varied length, drawn in random order: the
    # text does not repeat one fixed string, and building it stays fast.
    pool = [encode(sentence(rng, rng.randint(3, 60)), rng).encode() for _ in range(3000)]
    chunks = [b'"']
    total = 1
    while total < size - 1:
        chunk = rng.choice(pool)
        chunks.append(chunk)
        total += len(chunk)
    chunks.append(b'"')
    return b"".join(chunks)


def object_literal(members, rng):
    """A JSON object of `members` string members with distinct keys."""
    keys = set()
    parts = []
    while len(parts) < members:
        key = rng.choice(WORDS) + rng.choice(("", "_", "-", " ", "")) + str(rng.randint(0, 10**6))
        if rng.random() < 0.05:
            key = rng.choice(FOREIGN + EMOJI) + key
        encoded_key = encode(key, rng)
        if encoded_key in keys:
            continue
        keys.add(encoded_key)
        value = sentence(rng, rng.randint(0, 6), FOREIGN + EMOJI)[: rng.randint(0, 40)]
        parts.append('"%s":"%s"' % (encoded_key, encode(value, rng)))
    return ("{" + ",".join(parts) + "}").encode()


def sign_request(payload):
    return (b'{"action":"sign","certificateSN":"' + CERTIFICATE_SN.encode() + b'","payload":' +
            payload + b',"port":"bench"}')


# name -> (description, request builder)
KINDS = {
    "string_16MiB": ("16 MiB escape-dense string",
                     lambda rng: sign_request(escape_dense_literal(16 << 20, rng))),
    "string_1MiB": ("1 MiB escape-dense string",
                    lambda rng: sign_request(escape_dense_literal(1 << 20, rng))),
    "object_10000": ("object of 10,000 short string members",
                     lambda rng: sign_request(object_literal(10000, rng))),
}


def request(kind, seed):
    return KINDS[kind][1](random.Random("%s/%d" % (kind, seed)))


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--out", required=True, help="folder for the request files")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for kind in KINDS:
        with open(os.path.join(args.out, kind + ".json"), "wb") as f:
            f.write(request(kind, args.seed))


if __name__ == "__main__":
    main()
