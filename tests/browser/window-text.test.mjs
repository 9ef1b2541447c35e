// What the extension's windows make of a text that a site or a token
// supplied (shared/marks.js): which characters become marks naming their
// code point, which blanks become visible, how a long text is shortened and
// measured; and the windows' input guard. Run in Node; the browser tests show
// the marks in the windows.
import { test } from "node:test";
import assert from "node:assert/strict";
import path from "node:path";

const EXTENSION = path.resolve(import.meta.dirname, "..", "..", "extension");
const { codePointName, lengthOf, shortened, visibleParts } = await import(path.join(EXTENSION, "shared", "marks.js"));

// What a window shows: plain text as it is, each mark in brackets.
function shown(text) {
  return visibleParts(text)
    .map((part) => (part.mark === undefined ? part.text : `[${part.mark}]`))
    .join("");
}

test("characters that show as something else are marked by code point, and nothing else is", () => {
  const cases = [
    // the review's payload and label: a right-to-left override and its end
    ["I agree to pay \u202E00001\u202C EUR to the shop.", "I agree to pay [U+202E]00001[U+202C] EUR to the shop."],
    ["Bank \u202Enekot", "Bank [U+202E]nekot"],
    // Cc: controls, line breaks and tabs included
    ["a\nb\tc\u0000d\u007Fe\u0085f", "a[U+000A]b[U+0009]c[U+0000]d[U+007F]e[U+0085]f"],
    // Cf: zero width, bidi isolates, soft hyphen, word joiner, BOM
    ["x\u200By\u2066z\u00ADw\u2060v\uFEFF", "x[U+200B]y[U+2066]z[U+00AD]w[U+2060]v[U+FEFF]"],
    // Zl, Zp
    ["one\u2028two\u2029three", "one[U+2028]two[U+2029]three"],
    // Co: private use; Cn: unassigned
    ["p\uE000q\u{10FFFD}r\u0378s", "p[U+E000]q[U+10FFFD]r[U+0378]s"],
    // Zs other than the blank
    ["1\u00A0000\u2009EUR\u3000\u202F.", "1[U+00A0]000[U+2009]EUR[U+3000][U+202F]."],
    // combining marks right after ASCII, all of them; after other letters they merge as meant
    ["e\u0301 a\u0301\u0302 é ñ", "e[U+0301] a[U+0301][U+0302] é ñ"],
    ["\u0915\u094D\u0937", "\u0915\u094D\u0937"],
    // variation selectors, even after an emoji, and tag characters
    ["\u2764\uFE0F A\uFE00 \u{E0100}", "\u2764[U+FE0F] A[U+FE00] [U+E0100]"],
    ["\u{1F3F4}\u{E0067}\u{E0062}\u{E007F}", "\u{1F3F4}[U+E0067][U+E0062][U+E007F]"],
    // Hangul fillers, which are letters that show as nothing
    ["\u115F\u1160\u3164\uFFA0", "[U+115F][U+1160][U+3164][U+FFA0]"],
    // a lone surrogate
    ["x\uD800y", "x[U+D800]y"],
    // what shows as it is
    ["Grüße — 10 € “quoted” 山田 😀 <b>", "Grüße — 10 € “quoted” 山田 😀 <b>"],
  ];
  for (const [text, expected] of cases) {
    assert.equal(shown(text), expected, JSON.stringify(text));
  }
});

test("leading, trailing and repeated blanks are visible, with their count; single blanks between words are not", () => {
  const cases = [
    [" ".repeat(170) + "I transfer my house to evil.example", "[␣×170]I transfer my house to evil.example"],
    ["two  blanks", "two[␣×2]blanks"],
    [" lead", "[␣]lead"],
    ["trail ", "trail[␣]"],
    ["a b c", "a b c"],
    [" ", "[␣]"],
    ["", ""],
  ];
  for (const [text, expected] of cases) {
    assert.equal(shown(text), expected, JSON.stringify(text));
  }
});

test("the parts give the text back, character for character, and each mark names what it stands for", () => {
  const text = "  \u202EA\u0301\n \u00A0b  \uD83D\uDE00\uD800 ";
  const parts = visibleParts(text);
  assert.equal(parts.map((p) => p.text).join(""), text);
  for (const part of parts.filter((p) => p.mark !== undefined && !p.mark.startsWith("␣"))) {
    assert.equal(part.mark, codePointName(part.text));
  }
  assert.equal(codePointName("\u{1F600}"), "U+1F600");
  assert.equal(codePointName("\n"), "U+000A");
});

test("shortening counts characters, never splitting one, and lengths count characters and UTF-8 bytes", () => {
  assert.deepEqual(shortened("abc", 3), { text: "abc", whole: true });
  assert.deepEqual(shortened("abcd", 3), { text: "abc", whole: false });
  assert.deepEqual(shortened("😀😀😀", 2), { text: "😀😀", whole: false });
  assert.deepEqual(lengthOf("Grüße 😀"), { characters: 7, bytes: 12 });
  assert.deepEqual(lengthOf(""), { characters: 0, bytes: 0 });
});

test("the windows' buttons wait a second after the window appears and after it gets the focus back", async () => {
  const { InputGuard } = await import(path.join(EXTENSION, "windows", "input-guard.js"));
  let now = 1000;
  const guard = new InputGuard(() => now);
  assert.equal(guard.open, false, "shut when the window appears");
  now += 999;
  assert.equal(guard.open, false);
  now += 1;
  assert.equal(guard.open, true, "open after a second");
  guard.restart(); // the window got the focus back
  assert.equal(guard.open, false);
  assert.equal(guard.remainingMs, 1000);
  now += 1000;
  assert.equal(guard.open, true);
});
