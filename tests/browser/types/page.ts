// A page written against web/vantrel.d.ts: what must compile, and what the
// types must refuse, each such line marked as an expected error (a mark on a
// line that compiles fails the check too).
import Vantrel, { ConnectionError, HostError, listTokens } from "../../../web/vantrel.js";
import type { CertificateRecord, InfoReply, OrphanKeyRecord, RefusalReason } from "../../../web/vantrel.js";

export async function signingSession(pin: string): Promise<string> {
  const info: InfoReply = await Vantrel.info();
  const loggedIn: string | undefined = info.token;
  const { tokens } = await listTokens();
  const token = tokens.find((t) => t.tokenSN !== "") ?? tokens[0];
  const length: number = token.pmax - token.pmin;
  await Vantrel.login({ tokenSN: token.tokenSN, pin, mode: "write" });
  const { certificates } = await Vantrel.listCertificates({ tokenSN: token.tokenSN });
  const chosen: CertificateRecord = certificates[0];
  const { certificate } = await Vantrel.getCertificate({ certificateSN: Vantrel.certificateSN(chosen.serialNumber) });
  const { signature } = await Vantrel.sign({ certificateSN: Vantrel.certificateSN(chosen.serialNumber), payload: "I agree" });
  await Vantrel.sign({ certificateSN: "020101", payload: { order: { id: "42" } }, port: "p1" });
  await Vantrel.sign({ certificateSN: "020101", payload: "I agree", pin: "1234" });
  return `${loggedIn}${length}${certificate}${signature}`;
}

export async function administration(tokenSN: string): Promise<number> {
  const { csr } = await Vantrel.generateKeys({ tokenSN });
  await Vantrel.generateKeys({ tokenSN, result: "publicKey" });
  await Vantrel.importCertificate({ certificate: csr });
  const keys: OrphanKeyRecord[] = (await Vantrel.getOrphanKeys({ tokenSN, keyType: "private" })).orphanKeys;
  const { deletedSK, deletedPK } = await Vantrel.deleteOrphanKeys({ tokenSN, keyType: "public" });
  await Vantrel.deleteCertificate({ certificateSN: "020101" });
  await Vantrel.changePIN({ tokenSN, oldPIN: "1", newPIN: "2" });
  await Vantrel.formatToken({ tokenSN: "", tokenPIN: "1234" });
  await Vantrel.formatToken({ tokenSN, tokenPIN: "1234", adminPIN: "5678" });
  await Vantrel.selectCertificate({ forceLogon: true });
  return keys.length + deletedSK + deletedPK;
}

// The user picks the certificate; the page checks what the token signed with it.
export async function pickedAndChecked(text: string): Promise<boolean> {
  const picked = await Vantrel.selectCertificate({ forceLogon: false });
  const tokenSN: string = picked.tokenSN;
  const { signature } = await Vantrel.sign({ certificateSN: picked.certificateSN, payload: text, pinPrompt: true });
  const { key, algorithm } = await Vantrel.verificationKey(picked.certificate);
  const waited: number = Vantrel.EXTENSION_WAIT_MS;
  const reason: RefusalReason = "cancelled-choice";
  const { tokens } = await listTokens();
  const keypads = tokens.filter((t) => t.pinPad === true && t.userPinState !== "locked").length;
  // @ts-expect-error a certificate is bytes or base64 text
  await Vantrel.verificationKey(42);
  return (await crypto.subtle.verify(algorithm, key, Vantrel.fromBase64(signature), new TextEncoder().encode(text))) && `${tokenSN}${waited}${reason}${keypads}` !== "";
}

// The extension asks for the PINs; the page never holds them.
export async function pinsInTheExtensionsWindow(tokenSN: string): Promise<string> {
  await Vantrel.login({ tokenSN, pinPrompt: true, mode: "write" });
  await Vantrel.changePIN({ tokenSN, pinPrompt: true });
  await Vantrel.formatToken({ tokenSN: "", pinPrompt: true });
  const { signature } = await Vantrel.sign({ certificateSN: "020101", payload: "I agree", pinPrompt: true });
  const cancelled: RefusalReason = "cancelled";
  const refused: RefusalReason = "pin-from-page";
  return signature + cancelled + refused;
}

// What the extension answers when the user has not agreed, or cannot be asked.
export const consentRefusals: RefusalReason[] = ["refused", "unconfirmed", "local-origin", "not-now", "busy"];

export async function failures(): Promise<string> {
  try {
    await Vantrel.listTokens();
  } catch (error) {
    if (error instanceof HostError) {
      return error.reply.error + error.action;
    }
    if (error instanceof ConnectionError) {
      const reason: RefusalReason | null = error.reason;
      return Vantrel.describeError(error.message).title + reason;
    }
  }
  const reply = await Vantrel.request({ action: "info" });
  return reply.action + Vantrel.ACTIONS.join();
}

export async function refused(): Promise<void> {
  // @ts-expect-error a PIN is text
  await Vantrel.login({ tokenSN: "1", pin: 1234 });
  // @ts-expect-error mode is "read" or "write"
  await Vantrel.login({ tokenSN: "1", pin: "1", mode: "rw" });
  // @ts-expect-error keyType is "private" or "public"
  await Vantrel.getOrphanKeys({ tokenSN: "1", keyType: "secret" });
  // @ts-expect-error a payload is text or an object, not a list
  await Vantrel.sign({ certificateSN: "020101", payload: [1] });
  // @ts-expect-error certificateSN is needed
  await Vantrel.getCertificate({});
  // @ts-expect-error tokenSN is needed
  await Vantrel.generateKeys({ result: "csr" });
  // @ts-expect-error forceLogon is a boolean
  await Vantrel.selectCertificate({ forceLogon: "true" });
  // @ts-expect-error a login needs its PIN, or pinPrompt
  await Vantrel.login({ tokenSN: "1" });
  // @ts-expect-error with pinPrompt the page gives no PIN
  await Vantrel.login({ tokenSN: "1", pin: "1", pinPrompt: true });
  // @ts-expect-error with pinPrompt the page gives no PIN
  await Vantrel.changePIN({ tokenSN: "1", oldPIN: "1", pinPrompt: true });
  // @ts-expect-error pinPrompt is true or false
  await Vantrel.formatToken({ tokenSN: "1", pinPrompt: "yes" });
  // @ts-expect-error the extension has no such refusal
  const unknown: RefusalReason = "maybe-later";
  // @ts-expect-error a reply of listTokens has no certificates
  (await Vantrel.listTokens()).certificates;
  return void unknown;
}
