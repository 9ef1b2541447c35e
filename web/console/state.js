// What the console knows between steps: the tokens last listed, the login,
// and the certificates last listed with the ones already read from the token.
import { PageError, chosen } from "./ui.js";

export const state = {
  tokens: [],
  /** { tokenSN, mode } while logged in */
  login: null,
  certificates: [],
  /** certificateSN -> the certificate read with lib/certificate.js */
  read: new Map(),
  /** The extension refused the listing: pages may see only the certificate the user chooses. */
  certificatesPrivate: false,
};

export function tokenBySN(tokenSN) {
  return state.tokens.find((t) => t.tokenSN === tokenSN) || null;
}

/** The token for a person: its label and serial number, or what makes a blank one recognisable. */
export function tokenName(token) {
  if (token.tokenSN === "") {
    return `the blank ${token.tokenModel || "token"} (not initialised)`;
  }
  return token.tokenLabel ? `the token “${token.tokenLabel}” (serial number ${token.tokenSN})` : `the token with serial number ${token.tokenSN}`;
}

export function chosenToken() {
  const tokenSN = chosen("token");
  const token = tokenSN === null ? null : tokenBySN(tokenSN);
  if (!token) {
    throw new PageError("Choose a token first", "List the tokens and pick one.");
  }
  return token;
}

export function loggedInToken() {
  if (!state.login) {
    throw new PageError("Please log in first", "Choose a token, enter its PIN and log in.");
  }
  return tokenBySN(state.login.tokenSN) || { tokenSN: state.login.tokenSN, tokenLabel: "", tokenModel: "" };
}

/** Checks a new PIN against the token's bounds and its repetition. */
export function checkNewPin(token, pin, again) {
  if (pin !== again) {
    throw new PageError("The two new PINs differ", "Type the same new PIN twice.");
  }
  if (pin.length < token.pmin || (token.pmax >= 0 && pin.length > token.pmax)) {
    throw new PageError(
      `The new PIN must have ${token.pmin} to ${token.pmax} characters`,
      "This token does not take a PIN of that length.",
    );
  }
}
