// Types of web/vantrel.js, the page's client of the Vantrel host.
// docs/protocol.md describes each action, its members and its errors.

/** Every request may carry "port"; the reply carries it back. */
export interface WithPort {
  port?: string;
}

/** What every reply has: the action's name, and "error" when it failed. */
export interface Reply {
  action: string;
  error?: string;
  port?: string;
}

export interface TokenRecord {
  /** Serial number; "" for a blank (uninitialised) token. */
  tokenSN: string;
  tokenLabel: string;
  tokenModel: string;
  /** Shortest PIN the token takes. */
  pmin: number;
  /** Longest PIN the token takes (-1 when the token does not say). */
  pmax: number;
  /** Only on a token in a reader with its own keypad: its PINs are entered there. */
  pinPad?: true;
  /** Only on a token that reports wrong PINs: a recent one, the last try left, or a locked PIN. */
  userPinState?: "countLow" | "finalTry" | "locked";
}

export interface CertificateRecord {
  subjectDN: string;
  /** Subject alternative names, "" when the certificate has none. */
  subjectAN: string;
  issuerDN: string;
  /** Hex of the serial number's value; give it to certificateSN() to name the certificate in a request. */
  serialNumber: string;
  /** DD/MM/YYYY */
  validFrom: string;
  /** DD/MM/YYYY */
  validUntil: string;
  /** Serial number of the token that holds it. */
  tokenSN: string;
  /** Hex of the certificate object's check value, "" when the token keeps none. */
  activationCode: string;
}

export interface OrphanKeyRecord {
  /** Hex of the key's identifier. */
  id: string;
  keyType: "private" | "public";
}

export interface InfoReply extends Reply {
  action: "info";
  host: string;
  /** File name of the loaded PKCS#11 module, or "None". */
  driver: string;
  /** The logged-in token's serial number; absent when error is set. */
  token?: string;
  model?: string;
  pmin?: number;
  pmax?: number;
}
export interface ListTokensReply extends Reply {
  action: "listTokens";
  tokens: TokenRecord[];
}
export interface LoginReply extends Reply {
  action: "login";
  tokenSN: string;
}
/** The certificate the user picked in the extension's window. */
export interface SelectCertificateReply extends Reply {
  action: "selectCertificate";
  /** Base64 of its DER encoding. */
  certificate: string;
  /** How sign() names it. */
  certificateSN: string;
  /** Serial number of the token that holds it. */
  tokenSN: string;
}
export interface ListCertificatesReply extends Reply {
  action: "listCertificates";
  certificates: CertificateRecord[];
}
export interface GetCertificateReply extends Reply {
  action: "getCertificate";
  /** Base64 of the certificate's DER encoding. */
  certificate: string;
}
export interface SignReply extends Reply {
  action: "sign";
  /** Base64 of the signature. */
  signature: string;
}
export interface ChangePINReply extends Reply {
  action: "changePIN";
  tokenSN: string;
}
export interface FormatTokenReply extends Reply {
  action: "formatToken";
  tokenSN: string;
}
export interface DeleteCertificateReply extends Reply {
  action: "deleteCertificate";
  certificateSN: string;
}
export interface GetOrphanKeysReply extends Reply {
  action: "getOrphanKeys";
  tokenSN: string;
  orphanKeys: OrphanKeyRecord[];
}
export interface DeleteOrphanKeysReply extends Reply {
  action: "deleteOrphanKeys";
  tokenSN: string;
  /** Private keys deleted. */
  deletedSK: number;
  /** Public keys deleted. */
  deletedPK: number;
}
export interface GenerateKeysReply extends Reply {
  action: "generateKeys";
  tokenSN: string;
  /** Base64 of the DER PKCS#10 certification request. */
  csr: string;
}
export interface ImportCertificateReply extends Reply {
  action: "importCertificate";
}

/** A reply with "error"; `reply` holds all of it (deleteOrphanKeys' counts, for one). */
export class HostError extends Error {
  constructor(reply: Reply & { error: string });
  readonly name: "HostError";
  readonly action: string;
  readonly reply: Reply & { error: string } & Record<string, unknown>;
}

export type RefusalReason =
  | "plain-http"
  | "local-origin"
  | "sub-frame"
  | "not-allowed"
  | "not-now"
  | "denied"
  | "refused"
  | "unconfirmed"
  | "busy"
  | "cancelled"
  | "cancelled-choice"
  | "certificates-private"
  | "not-chosen"
  | "pin-locked"
  | "pin-from-page"
  | "no-token"
  | "timeout";

/**
 * Either the PINs themselves, or `pinPrompt: true` without them: the extension
 * then asks the user for them in a window of its own and the page never holds them.
 */
export type PinsOrPrompt<Pins> = (Pins & { pinPrompt?: false }) | ({ [name in keyof Pins]?: never } & { pinPrompt: true });

/** No extension, no host, the host gone, or a refusal of the extension. */
export class ConnectionError extends Error {
  constructor(message: string, reason?: RefusalReason | null);
  readonly name: "ConnectionError";
  readonly reason: RefusalReason | null;
}

export interface ErrorDescription {
  title: string;
  advice: string;
  /** The text as it came. */
  raw: string;
  /** The PKCS#11 return code in the text, if any. */
  rc: number | null;
}

export type ActionName =
  | "info"
  | "listTokens"
  | "login"
  | "selectCertificate"
  | "listCertificates"
  | "getCertificate"
  | "sign"
  | "changePIN"
  | "formatToken"
  | "deleteCertificate"
  | "getOrphanKeys"
  | "deleteOrphanKeys"
  | "generateKeys"
  | "importCertificate";

/** A JSON object to sign: the host signs a text form of it (see docs/protocol.md). */
export type JsonObject = { [member: string]: unknown };

/** How long findExtension() waits for the extension by default, in milliseconds (3000). */
export const EXTENSION_WAIT_MS: number;
export function findExtension(timeoutMs?: number): Promise<boolean>;
export function request(message: { action: string } & Record<string, unknown>): Promise<Reply & Record<string, unknown>>;
export function call(message: { action: string } & Record<string, unknown>): Promise<Reply & Record<string, unknown>>;
export function describeError(text: string): ErrorDescription;
export function certificateSN(serialNumber: string): string;
/** The bytes of base64 text. */
export function fromBase64(text: string): Uint8Array<ArrayBuffer>;
/**
 * The certificate's public key as a Web Crypto key for crypto.subtle.verify,
 * with the algorithm to verify with (RSASSA-PKCS1-v1_5, or ECDSA with SHA-256).
 */
export function verificationKey(
  certificate: string | Uint8Array | ArrayBuffer,
): Promise<{ key: CryptoKey; algorithm: { name: "RSASSA-PKCS1-v1_5" } | { name: "ECDSA"; hash: "SHA-256" } }>;

/** Resolves with the reply also when it carries "error" ("There is no active token" when nobody is logged in). */
export function info(options?: WithPort): Promise<InfoReply>;
export function listTokens(options?: WithPort): Promise<ListTokensReply>;
export function login(options: { tokenSN: string; mode?: "read" | "write" } & PinsOrPrompt<{ pin: string }> & WithPort): Promise<LoginReply>;
/**
 * The extension asks the user which certificate to use, in its own window
 * (waiting for a token to be inserted when none holds a certificate), and
 * resolves with that certificate alone; with `forceLogon: true` the user also
 * logs in to its token. Cancelling rejects with reason "cancelled-choice".
 * (The host itself, reached without the extension, answers "Not Implemented".)
 */
export function selectCertificate(options: { forceLogon: boolean } & WithPort): Promise<SelectCertificateReply>;
export function listCertificates(options?: { tokenSN?: string } & WithPort): Promise<ListCertificatesReply>;
export function getCertificate(options: { certificateSN: string } & WithPort): Promise<GetCertificateReply>;
/**
 * The extension shows the signature to the user first (the site, the token,
 * the certificate and the exact text signed; for an object, the text the
 * host makes of it) and signs once the user agreed; a refusal rejects with
 * reason "refused". A key that needs its PIN for every signature gets it in
 * that window. With `pinPrompt: true` and no login to the certificate's
 * token, the same window asks for the token's PIN and the extension logs in
 * and signs.
 */
export function sign(
  options: { certificateSN: string; payload: string | JsonObject } & PinsOrPrompt<{ /** The key's own PIN. */ pin?: string }> & WithPort,
): Promise<SignReply>;
export function changePIN(options: { tokenSN: string } & PinsOrPrompt<{ oldPIN: string; newPIN: string }> & WithPort): Promise<ChangePINReply>;
export function formatToken(
  options: { tokenSN: string } & PinsOrPrompt<{ tokenPIN: string; adminPIN?: string }> & WithPort,
): Promise<FormatTokenReply>;
export function deleteCertificate(options: { certificateSN: string } & WithPort): Promise<DeleteCertificateReply>;
export function getOrphanKeys(options: { tokenSN: string; keyType: "private" | "public" } & WithPort): Promise<GetOrphanKeysReply>;
export function deleteOrphanKeys(options: { tokenSN: string; keyType: "private" | "public" } & WithPort): Promise<DeleteOrphanKeysReply>;
/** `result` defaults to "csr"; the host answers with a certification request either way. */
export function generateKeys(
  options: { tokenSN: string; result?: "csr" | "publicKey"; algorithm?: "RSA-2048" | "EC-P256" | "EC-P384" } & WithPort,
): Promise<GenerateKeysReply>;
/** `certificate`: base64 of the DER encoding. */
export function importCertificate(options: { certificate: string } & WithPort): Promise<ImportCertificateReply>;

export const ACTIONS: readonly ActionName[];

export const Vantrel: Readonly<{
  request: typeof request;
  call: typeof call;
  findExtension: typeof findExtension;
  EXTENSION_WAIT_MS: typeof EXTENSION_WAIT_MS;
  describeError: typeof describeError;
  certificateSN: typeof certificateSN;
  verificationKey: typeof verificationKey;
  fromBase64: typeof fromBase64;
  info: typeof info;
  listTokens: typeof listTokens;
  login: typeof login;
  selectCertificate: typeof selectCertificate;
  listCertificates: typeof listCertificates;
  getCertificate: typeof getCertificate;
  sign: typeof sign;
  changePIN: typeof changePIN;
  formatToken: typeof formatToken;
  deleteCertificate: typeof deleteCertificate;
  getOrphanKeys: typeof getOrphanKeys;
  deleteOrphanKeys: typeof deleteOrphanKeys;
  generateKeys: typeof generateKeys;
  importCertificate: typeof importCertificate;
  ACTIONS: typeof ACTIONS;
  HostError: typeof HostError;
  ConnectionError: typeof ConnectionError;
}>;
export default Vantrel;
