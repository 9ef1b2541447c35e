// The token and the certificate a request is about, named for a person by
// what the site's own host reports about them, asked just before a window
// shows them. `exchange` sends one request to that host.

export function describeToken(serial, tokens) {
  const token = tokens.find((t) => t.tokenSN === serial);
  if (serial === "") {
    // A blank token has neither label nor serial number until it is formatted.
    return token ? `the blank ${token.tokenModel || "token"} (not initialised)` : "a blank token";
  }
  return token && token.tokenLabel ? `the token “${token.tokenLabel}” (serial number ${serial})` : `the token with serial number ${serial}`;
}

export async function listTokens(exchange) {
  const reply = await exchange({ action: "listTokens" });
  return Array.isArray(reply.tokens) ? reply.tokens : [];
}

// The value of a certificate's serial number INTEGER as listCertificates shows
// it, from the whole DER INTEGER that a request names the certificate by.
export function serialValue(certificateSN) {
  const integer = /^02([0-9a-fA-F]{2})((?:[0-9a-fA-F]{2})*)$/.exec(String(certificateSN));
  return integer && parseInt(integer[1], 16) * 2 === integer[2].length ? integer[2].toLowerCase() : String(certificateSN);
}

/** The certificates the host lists, of one token or of every token. */
export async function listCertificates(exchange, tokenSN) {
  const reply = await exchange(tokenSN === undefined ? { action: "listCertificates" } : { action: "listCertificates", tokenSN });
  return Array.isArray(reply.certificates) ? reply.certificates : [];
}

/** How a request names a listed certificate: its serial number's whole DER INTEGER, in hex. */
export function certificateSNOf(serialNumber) {
  const length = String(serialNumber).length / 2;
  const octets = length < 0x80 ? [length] : length < 0x100 ? [0x81, length] : [0x82, length >> 8, length & 0xff];
  return "02" + octets.map((octet) => octet.toString(16).padStart(2, "0")).join("") + serialNumber;
}

/** The token the origin is logged in to (its serial number), or null. */
export async function loggedInToken(exchange) {
  const info = await exchange({ action: "info" });
  return typeof info.token === "string" ? info.token : null;
}

/**
 * The logged-in token and the certificate `certificateSN` on it:
 * { tokenSN (null without a login), token (its name), serial, certificate (the listed record, or null) }.
 */
export async function certificateOfLogin(certificateSN, exchange) {
  const serial = serialValue(certificateSN);
  const tokenSN = await loggedInToken(exchange);
  if (tokenSN === null) {
    return { tokenSN: null, token: "the logged-in token (none at the moment)", serial, certificate: null };
  }
  const certificates = await listCertificates(exchange, tokenSN);
  return {
    tokenSN,
    token: describeToken(tokenSN, await listTokens(exchange)),
    serial,
    certificate: certificates.find((c) => c.serialNumber === serial) || null,
  };
}
