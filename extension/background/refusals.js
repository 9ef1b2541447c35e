// Why the extension did not pass a page's request on. A page gets the text as
// its error and the reason as a word it can tell the cases apart by.
export class Refusal extends Error {
  constructor(reason, message) {
    super(message);
    this.name = "Refusal";
    this.reason = reason;
  }
}

export const refuse = Object.freeze({
  plainHttp: () => new Refusal("plain-http", "Vantrel serves only HTTPS pages."),
  localOrigin: () =>
    new Refusal(
      "local-origin",
      "Pages served from this computer may not use security tokens. Turn this on in the Vantrel extension's options (for development).",
    ),
  subFrame: () => new Refusal("sub-frame", "Vantrel serves only the top page of a tab, not a frame inside it."),
  notAllowed: () => new Refusal("not-allowed", "This site is not allowed to use security tokens."),
  notNow: () =>
    new Refusal(
      "not-now",
      "The user closed the question whether this site may use security tokens; it is not asked again until the browser restarts.",
    ),
  denied: () => new Refusal("denied", "The user did not allow this site to use security tokens."),
  action: (verb) => new Refusal("refused", `The user refused to let this site ${verb}.`),
  signature: () => new Refusal("refused", "The user refused to let this site sign."),
  unconfirmed: () => new Refusal("unconfirmed", "This signature could not be shown to the user, so it was not made."),
  busy: () => new Refusal("busy", "Too many requests are waiting for the user; try again later."),
  cancelled: () => new Refusal("cancelled", "The user cancelled the PIN entry."),
  cancelledChoice: () => new Refusal("cancelled-choice", "The user cancelled the certificate choice."),
  certificatesPrivate: () =>
    new Refusal(
      "certificates-private",
      "This browser's administrator does not let pages list or read the certificates: " +
        'send "selectCertificate", and the Vantrel extension asks the user which certificate to use.',
    ),
  notChosen: () =>
    new Refusal("not-chosen", "The user did not choose this certificate for this site, so it was not used."),
  pinLocked: (serial) =>
    new Refusal("pin-locked", `The PIN of the token with serial number ${serial} is locked, so the Vantrel extension did not ask for it.`),
  pinFromPage: () =>
    new Refusal(
      "pin-from-page",
      "This browser's administrator does not let pages send PINs: " +
        'send the request with "pinPrompt": true, and the Vantrel extension asks the user for the PIN in its own window.',
    ),
  noToken: (serial) =>
    new Refusal("no-token", `No token with serial number ${serial} is connected, so the Vantrel extension did not ask for its PIN.`),
  timeout: (seconds) =>
    new Refusal(
      "timeout",
      `The security token did not answer within ${seconds} ${seconds === 1 ? "second" : "seconds"}; ` +
        "the connection to it was closed and its login ended.",
    ),
});
