// The text the extension shows and sends for a sign request's object
// payload, against the text the built host makes of the same object: the
// host signs each object on a SoftHSM2 token with an RSA key (PKCS#1 v1.5,
// which gives the same signature for the same bytes), and the signature
// must verify over the extension's text, and must not over a text one
// character away. The rule's number and ordering cases are also checked on
// their own, without a host.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import crypto from "node:crypto";
import fs from "node:fs";
import path from "node:path";
import { SOFTHSM, installHost, makeCa, makeToken, makeWorkspace, withClient } from "./support/environment.mjs";

const EXTENSION = path.resolve(import.meta.dirname, "..", "..", "extension");
const { UnsignableText, compareCodePoints, fixedSix, signedText } = await import(path.join(EXTENSION, "shared", "signed-text.js"));

const USER_PIN = "pin-7531";
const SERIAL = "00c0ffee7e47";
const CERTIFICATE_SN = "0206" + SERIAL;

// An object nested `levels` deep: {"a":{"a":…{"a":"end"}…}}.
function nested(levels) {
  let value = "end";
  for (let i = 0; i < levels; i++) {
    value = { a: value };
  }
  return value;
}

// The deepest payload the host reads (the request itself is one more level), and one deeper.
const DEEPEST = 199;

const OBJECTS = [
  ["markup in a value", { order: "1 book", note: "thanks</note><amount>1000000</amount><note>" }],
  ["nesting", { order: { id: "42", lines: [{ sku: "a-1", qty: 2 }, { sku: "b-2", qty: 1 }] }, customer: { name: "Ada" } }],
  ["lists of every kind of value", { items: ["a", 1, true, false, null, [], ["x", ["y"]], {}, { k: "v" }] }],
  ["empty members and an empty name", { "": "empty name", empty: "", object: {}, list: [] }],
  ["an empty object", {}],
  ["Unicode names and values", { Grüße: "€ 10", 名前: "山田 太郎", "emoji 😀": "✓", "é": "e\u0301" }],
  ["names with blanks", { "item id=7": "x", " leading": 1, "two  blanks": 2, "trailing ": 3 }],
  ["names that sort differently by UTF-16 and by bytes", { "\uFF01": "fullwidth !", "\u{1F600}": "grinning face", "\uE000": "private use", z: "ascii" }],
  ["names that look like numbers", { 2: "two", 10: "ten", b: "bee", "01": "zero one" }],
  ["lone surrogates", { lone: "\uD800 high", "\uDC00low": "name", pair: "\uD83D\uDE00" }],
  ["names equal once lone surrogates are replaced: the first is kept", { "\uD800": "first", "\uD801": "second" }],
  ["numbers", { a: 0.0078125, b: 1e21, c: 1e300, d: -2, e: 0.5, f: 1e-7, g: -1e-7, h: 42, i: 12345678901234567890, j: 0.0000015, k: -0 }],
  ["controls, bidi and NUL in values", { text: "a\u202Eb\n\tc\u0000d\u2028e", "\u200Bname": "zero width" }],
  ["quotes and backslashes", { "q\"uote": "\"x\" \\ y", "back\\slash": "\\" }],
  [`nesting ${DEEPEST} levels deep`, nested(DEEPEST)],
];

test("numbers are written as C's %f writes them: the exact value, six decimals, a tie to the even digit", () => {
  const cases = [
    [0, "0.000000"],
    [-0, "-0.000000"],
    [4, "4.000000"],
    [0.5, "0.500000"],
    [-2, "-2.000000"],
    [1e20, "100000000000000000000.000000"],
    [1e21, "1000000000000000000000.000000"],
    [0.0000001, "0.000000"],
    [-0.0000001, "-0.000000"],
    [0.0078125, "0.007812"], // exactly half-way: to the even digit
    [0.0234375, "0.023438"], // exactly half-way, the other way
    [0.0000015, "0.000002"], // the double lies just above the half
    [2 ** 53 + 2, "9007199254740994.000000"],
    [5e-324, "0.000000"],
    [Number.MAX_VALUE, (2n ** 1024n - 2n ** 971n).toString() + ".000000"],
  ];
  for (const [value, written] of cases) {
    assert.equal(fixedSix(value), written, String(value));
  }
  // A double this large is an integer, which BigInt holds exactly.
  assert.equal(fixedSix(1e300), BigInt(1e300).toString() + ".000000");
  assert.match(fixedSix(1e300), /^1\d{300}\.000000$/);
});

test("names sort by their code points, which is the order of their UTF-8 bytes", () => {
  const names = ["\u{1F600}", "\uFF01", "b", "a b", "", "a", "\uE000", "é"];
  const byBytes = [...names].sort((x, y) => Buffer.compare(Buffer.from(x), Buffer.from(y)));
  assert.deepEqual([...names].sort(compareCodePoints), byBytes);
  assert.deepEqual(byBytes, ["", "a", "a b", "b", "é", "\uE000", "\uFF01", "\u{1F600}"]);
  // UTF-16 code units would put the emoji first.
  assert.equal([...names].sort()[names.length - 1], "\uFF01");
});

test("the text of the review's object, of the reference's example, and of a text payload", () => {
  assert.equal(signedText({ order: "1 book", note: "thanks</note><amount>1000000</amount><note>" }),
    "<note>thanks</note><amount>1000000</amount><note></note><order>1 book</order>");
  assert.equal(signedText({ order: { id: "42", item: ["a", "b"] } }), "<order><id>42</id><item><item>a</item><item>b</item></item></order>");
  assert.equal(signedText({ "item id=7": 1 }), "<item id=7>1.000000</item>");
  assert.equal(signedText("I agree \uD800"), "I agree \uFFFD");
  assert.equal(signedText({ gone: undefined, kept: null, fn: () => 1 }), "<kept>null</kept>", "as the browser sends it: as JSON");
  assert.throws(() => signedText([1, 2]), UnsignableText);
  assert.throws(() => signedText(nested(DEEPEST + 1)), UnsignableText);
});

const space = makeWorkspace("signed-text");
let publicKey;

before(async () => {
  makeToken(space, { label: "Vantrel signed text", soPin: "12345678", userPin: USER_PIN });
  installHost(space, SOFTHSM);
  const ca = makeCa(space.file("ca"), "Vantrel Signed Text CA");
  await withClient(space, async (send) => {
    const tokenSN = (await send({ action: "listTokens" })).tokens.find((t) => t.tokenSN !== "").tokenSN;
    assert.equal((await send({ action: "login", tokenSN, pin: USER_PIN, mode: "write" })).error, undefined);
    const { csr } = await send({ action: "generateKeys", tokenSN, result: "csr" });
    const issued = ca.issue(csr, { serial: SERIAL, subject: "/CN=Vantrel Signed Text" });
    assert.equal((await send({ action: "importCertificate", certificate: issued.der.toString("base64") })).error, undefined);
    publicKey = new crypto.X509Certificate(issued.pem).publicKey;
  });
}, { timeout: 60000 });

after(() => fs.rmSync(space.work, { recursive: true, force: true }));

function verifies(text, signature) {
  return crypto.verify("sha256", Buffer.from(text, "utf8"), publicKey, Buffer.from(signature, "base64"));
}

// One character changed: the first one, or one added to an empty text.
function nearby(text) {
  return text === "" ? "x" : String.fromCodePoint(text.codePointAt(0) ^ 1) + [...text].slice(1).join("");
}

test("for every object of the table, the host signs exactly the extension's text", { timeout: 60000 }, async () => {
  await withClient(space, async (send) => {
    const tokenSN = (await send({ action: "listTokens" })).tokens.find((t) => t.tokenSN !== "").tokenSN;
    assert.equal((await send({ action: "login", tokenSN, pin: USER_PIN })).error, undefined);
    for (const [what, object] of OBJECTS) {
      const text = signedText(object);
      const signedObject = await send({ action: "sign", certificateSN: CERTIFICATE_SN, payload: object });
      assert.ok(signedObject && signedObject.signature, `${what}: ${JSON.stringify(signedObject)}`);
      assert.ok(verifies(text, signedObject.signature), `${what}: the host signed another text than ${JSON.stringify(text)}`);
      assert.ok(!verifies(nearby(text), signedObject.signature), `${what}: a changed text verifies too`);
      // The text sent in place of the object gets the very same signature.
      const signedText_ = await send({ action: "sign", certificateSN: CERTIFICATE_SN, payload: text });
      assert.equal(signedText_.signature, signedObject.signature, what);
    }
  });
});

test("an object nested deeper than the host reads is one the host never signs, and the extension refuses it too", async () => {
  const deeper = nested(DEEPEST + 1);
  assert.throws(() => signedText(deeper), UnsignableText);
  const replies = await withClient(space, async (send) => [
    await send({ action: "sign", certificateSN: CERTIFICATE_SN, payload: deeper }),
  ]);
  assert.deepEqual(replies, [null], "the host stops without a reply");
});
