// The text a token signs for a sign request's payload, made here so that the
// user sees it before anything is signed and the host is then sent exactly
// that text.
//
// A text payload is signed as its UTF-8 bytes. The host turns an object
// payload into text by its own rule: each member, in the byte order of the
// members' names, as "<name>value</name>", where the closing tag takes the
// name up to its first blank; a list as "<item>value</item>" per element;
// a number as C's "%f" would write it (six decimals, a tie rounded to the even
// digit); null, true and false as those words; a string as it is. Nothing is
// escaped. Like the host, this works on the payload as the browser would have
// sent it: its JSON form, in which a lone surrogate stands for U+FFFD and a
// later member whose name then equals an earlier one's is dropped.

// The host reads requests nested at most this deep, the request itself being
// the first level: deeper payloads it would never have signed.
const DEEPEST_REQUEST = 200;
const DEEPEST_PAYLOAD = DEEPEST_REQUEST - 1;

export class UnsignableText extends Error {
  constructor(message) {
    super(message);
    this.name = "UnsignableText";
  }
}

/** The text the token signs for `payload` (a string or a plain object). */
export function signedText(payload) {
  if (typeof payload === "string") {
    return payload.toWellFormed();
  }
  if (payload === null || typeof payload !== "object" || Array.isArray(payload)) {
    throw new UnsignableText("A payload is a text or an object.");
  }
  const parts = [];
  writeValue(JSON.parse(JSON.stringify(payload)), parts, 1);
  return parts.join("");
}

function writeValue(value, parts, depth) {
  if (value === null) {
    parts.push("null");
  } else if (typeof value === "boolean") {
    parts.push(value ? "true" : "false");
  } else if (typeof value === "number") {
    parts.push(fixedSix(value));
  } else if (typeof value === "string") {
    parts.push(value.toWellFormed());
  } else if (depth > DEEPEST_PAYLOAD) {
    throw new UnsignableText(`The object is nested more than ${DEEPEST_PAYLOAD} levels deep.`);
  } else if (Array.isArray(value)) {
    for (const element of value) {
      parts.push("<item>");
      writeValue(element, parts, depth + 1);
      parts.push("</item>");
    }
  } else {
    for (const [name, member] of membersInByteOrder(value)) {
      parts.push("<", name, ">");
      writeValue(member, parts, depth + 1);
      const blank = name.indexOf(" ");
      parts.push("</", blank < 0 ? name : name.slice(0, blank), ">");
    }
  }
}

// The members under their well-formed names, the first of equal names kept,
// sorted as UTF-8 bytes sort, which is the order of the code points.
function membersInByteOrder(object) {
  const members = new Map();
  for (const [name, value] of Object.entries(object)) {
    const wellFormed = name.toWellFormed();
    if (!members.has(wellFormed)) {
      members.set(wellFormed, value);
    }
  }
  return [...members].sort(([a], [b]) => compareCodePoints(a, b));
}

export function compareCodePoints(a, b) {
  const left = a[Symbol.iterator]();
  const right = b[Symbol.iterator]();
  for (;;) {
    const x = left.next();
    const y = right.next();
    if (x.done || y.done) {
      return (x.done ? 0 : 1) - (y.done ? 0 : 1);
    }
    const difference = x.value.codePointAt(0) - y.value.codePointAt(0);
    if (difference !== 0) {
      return difference;
    }
  }
}

const MILLION = 1000000n;

/**
 * `value` as "%f" writes it: the exact decimal value of the double rounded to
 * six decimals, a tie to the even digit, with a minus sign whenever the
 * value is negative (-0 and -0.0000001 too).
 */
export function fixedSix(value) {
  if (!Number.isFinite(value)) {
    return Number.isNaN(value) ? "nan" : value > 0 ? "inf" : "-inf";
  }
  const { negative, mantissa, exponent } = decompose(value);
  let millionths;
  if (exponent >= 0) {
    millionths = (mantissa << BigInt(exponent)) * MILLION;
  } else {
    const divisor = 1n << BigInt(-exponent);
    const scaled = mantissa * MILLION;
    millionths = scaled / divisor;
    const twice = (scaled % divisor) * 2n;
    if (twice > divisor || (twice === divisor && millionths % 2n === 1n)) {
      millionths += 1n;
    }
  }
  const whole = (millionths / MILLION).toString();
  const fraction = (millionths % MILLION).toString().padStart(6, "0");
  return `${negative ? "-" : ""}${whole}.${fraction}`;
}

// value = (-1)^negative × mantissa × 2^exponent, from the double's own bits.
function decompose(value) {
  const view = new DataView(new ArrayBuffer(8));
  view.setFloat64(0, value);
  const bits = view.getBigUint64(0);
  const negative = bits >> 63n === 1n;
  const biased = Number((bits >> 52n) & 0x7ffn);
  const fraction = bits & ((1n << 52n) - 1n);
  return biased === 0
    ? { negative, mantissa: fraction, exponent: -1074 }
    : { negative, mantissa: fraction | (1n << 52n), exponent: biased - 1075 };
}
