// What a person recognises a certificate by, read from its DER encoding: the
// common name of its subject and of its issuer, and when it is valid. The
// host's listing gives names as text in which a value may look like another
// attribute ("CN=Ada, CN=Bank"), and dates without their time; the
// certificate itself says which is which.

const COMMON_NAME = "2.5.4.3";

class DerError extends Error {}

/** One element at `at`: { tag, start (of its contents), end }. */
function elementAt(bytes, at, limit = bytes.length) {
  if (at + 2 > limit) {
    throw new DerError("cut short");
  }
  const tag = bytes[at];
  if ((tag & 0x1f) === 0x1f) {
    throw new DerError("a tag of more than one byte");
  }
  let length = bytes[at + 1];
  let start = at + 2;
  if (length & 0x80) {
    const count = length & 0x7f;
    if (count === 0 || count > 4 || start + count > limit) {
      throw new DerError("a length this reader does not take");
    }
    length = 0;
    for (let i = 0; i < count; i++) {
      length = length * 256 + bytes[start + i];
    }
    start += count;
  }
  if (start + length > limit) {
    throw new DerError("runs past its end");
  }
  return { tag, start, end: start + length };
}

function children(bytes, parent) {
  const found = [];
  for (let at = parent.start; at < parent.end; ) {
    const child = elementAt(bytes, at, parent.end);
    found.push(child);
    at = child.end;
  }
  return found;
}

function objectIdentifier(bytes, element) {
  const parts = [];
  let value = 0;
  for (let i = element.start; i < element.end; i++) {
    value = value * 128 + (bytes[i] & 0x7f);
    if ((bytes[i] & 0x80) === 0) {
      parts.push(value);
      value = 0;
    }
  }
  if (parts.length === 0) {
    return "";
  }
  const first = Math.min(Math.floor(parts[0] / 40), 2);
  return [first, parts[0] - first * 40, ...parts.slice(1)].join(".");
}

function text(bytes, element) {
  const contents = bytes.subarray(element.start, element.end);
  switch (element.tag) {
    case 0x0c: // UTF8String
      return new TextDecoder("utf-8").decode(contents);
    case 0x1e: // BMPString
      return new TextDecoder("utf-16be").decode(contents);
    case 0x1c: {
      // UniversalString
      let result = "";
      for (let i = 0; i + 3 < contents.length; i += 4) {
        const point = ((contents[i] << 24) | (contents[i + 1] << 16) | (contents[i + 2] << 8) | contents[i + 3]) >>> 0;
        result += point <= 0x10ffff ? String.fromCodePoint(point) : "\uFFFD";
      }
      return result;
    }
    default: // PrintableString, IA5String, TeletexString and their like: one byte a character
      return String.fromCharCode(...contents);
  }
}

/** The last common name of a Name (the most specific one), or "" when it has none. */
function commonName(bytes, name) {
  let found = "";
  for (const set of children(bytes, name)) {
    for (const attribute of children(bytes, set)) {
      const [type, value] = children(bytes, attribute);
      if (type && value && type.tag === 0x06 && objectIdentifier(bytes, type) === COMMON_NAME) {
        found = text(bytes, value);
      }
    }
  }
  return found;
}

function time(bytes, element) {
  const digits = String.fromCharCode(...bytes.subarray(element.start, element.end));
  const form = element.tag === 0x17 ? /^(\d{2})(\d{2})(\d{2})(\d{2})(\d{2})(\d{2})?Z$/ : /^(\d{4})(\d{2})(\d{2})(\d{2})(\d{2})(\d{2})?Z$/;
  const parts = form.exec(digits);
  if ((element.tag !== 0x17 && element.tag !== 0x18) || !parts) {
    throw new DerError("a time this reader does not take");
  }
  let year = Number(parts[1]);
  if (element.tag === 0x17) {
    year += year >= 50 ? 1900 : 2000;
  }
  return new Date(Date.UTC(year, Number(parts[2]) - 1, Number(parts[3]), Number(parts[4]), Number(parts[5]), Number(parts[6] || 0)));
}

/**
 * { subjectCN, issuerCN, notBefore, notAfter } of the certificate whose DER
 * is `der` (bytes), or null when it cannot be read.
 */
export function certificateFields(der) {
  try {
    const bytes = der instanceof Uint8Array ? der : new Uint8Array(der);
    const certificate = elementAt(bytes, 0);
    const tbs = children(bytes, certificate)[0];
    const fields = children(bytes, tbs);
    // The version, [0], is there in every certificate but the oldest.
    const [, , issuer, validity, subject] = fields[0].tag === 0xa0 ? fields.slice(1) : fields;
    const [notBefore, notAfter] = children(bytes, validity);
    return {
      subjectCN: commonName(bytes, subject),
      issuerCN: commonName(bytes, issuer),
      notBefore: time(bytes, notBefore),
      notAfter: time(bytes, notAfter),
    };
  } catch (error) {
    if (error instanceof DerError || error instanceof TypeError) {
      return null;
    }
    throw error;
  }
}

/** The bytes of base64 text, or null when it is not base64. */
export function base64Bytes(base64) {
  try {
    return Uint8Array.from(atob(String(base64)), (c) => c.charCodeAt(0));
  } catch {
    return null;
  }
}
