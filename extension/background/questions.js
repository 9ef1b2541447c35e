// Questions for the user in the extension's question window: whether a site
// may use the tokens, and whether it may do something that cannot be undone.
import { refuse } from "./refusals.js";
import { WindowUnavailable } from "./window-broker.js";
import { settings } from "../shared/settings.js";
import { isLocalOrigin, putOff, rememberAnswer } from "../shared/site-answers.js";

/**
 * Resolves with "yes", "no", or "dismissed" when the user closed the window
 * without an answer. `question` is { title, site, local, details: [text],
 * yes, no, danger }.
 */
export function ask(broker, origin, question, signal) {
  return broker.show({
    kind: "question",
    origin,
    view: question,
    signal,
    onMessage(message, exchange) {
      if (message.type === "answer") {
        exchange.finish(message.answer === "yes" ? "yes" : "no");
      } else if (message.type === "cancel") {
        exchange.finish("no");
      }
    },
    onClose: (exchange) => exchange.finish("dismissed"),
  });
}

/** The words of the question about a site, true to what the site can then do. */
export function siteQuestion(origin, { pinFromPage, confirmEachSignature }) {
  const pins = pinFromPage
    ? "It can have you log in to a token, either in a window of this extension (the site never sees the PIN) or with a PIN typed into its own page."
    : "It can have you log in to a token in a window of this extension; the site never sees the PIN.";
  const signatures = confirmEachSignature
    ? "Each signature is shown to you in a window of this extension, and made only once you agree."
    : "Once you have logged in, it can sign with your keys without showing you what it signs: your administrator turned off the confirmation of each signature.";
  return {
    title: `Allow ${origin} to use your security tokens?`,
    site: origin,
    local: isLocalOrigin(origin),
    details: [
      "The site will be able to list your security tokens and the certificates on them.",
      pins,
      signatures,
      "You can take this back at any time in the Vantrel extension's options.",
    ],
    yes: "Allow",
    no: "Deny",
    danger: false,
  };
}

/**
 * Asks whether the site may use the tokens and keeps the answer; throws the
 * refusal unless the user allowed it. A question closed unanswered puts the
 * site off for this browser session.
 */
export async function askAboutSite(broker, origin, signal) {
  let answer;
  try {
    answer = await ask(broker, origin, siteQuestion(origin, await settings()), signal);
  } catch (error) {
    throw error instanceof WindowUnavailable ? refuse.notAllowed() : error;
  }
  if (answer === "dismissed") {
    await putOff(origin);
    throw refuse.notNow();
  }
  await rememberAnswer(origin, answer === "yes");
  if (answer !== "yes") {
    throw refuse.denied();
  }
}
