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
  plainHttp: () =>
    new Refusal("plain-http", "Vantrel serves only HTTPS pages, and http://localhost or http://127.0.0.1 for development."),
  subFrame: () => new Refusal("sub-frame", "Vantrel serves only the top page of a tab, not a frame inside it."),
  notAllowed: () => new Refusal("not-allowed", "This site is not allowed to use security tokens."),
  denied: () => new Refusal("denied", "The user did not allow this site to use security tokens."),
  action: (verb) => new Refusal("refused", `The user refused to let this site ${verb}.`),
  cancelled: () => new Refusal("cancelled", "The user cancelled the PIN entry."),
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
