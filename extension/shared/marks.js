// What a window shows of a text that a site or a token supplied: the text
// cut into plain runs and marks, where each mark stands for characters that
// would display as something other than what they are (nothing at all, a
// reordering of what follows, a blank that looks like another, a letter that
// merges with the one before) and names them by code point. Leading, trailing
// and repeated blanks become marks too, so that no run of blanks can hide
// what comes after it. Every character of the text is in exactly one part,
// in order: joining the parts' `text` gives the text back.

const INVISIBLE = /[\p{Cc}\p{Cf}\p{Zl}\p{Zp}\p{Co}\p{Cn}\p{Cs}]/u;
const ODD_SPACE = /(?! )\p{Zs}/u;
const COMBINING = /\p{M}/u;
const VARIATION_SELECTOR = /[\u180B-\u180D\u180F\uFE00-\uFE0F\u{E0100}-\u{E01EF}]/u;
const TAG = /[\u{E0000}-\u{E007F}]/u;
const HANGUL_FILLER = /[\u115F\u1160\u3164\uFFA0]/u;

export function codePointName(character) {
  return "U+" + character.codePointAt(0).toString(16).toUpperCase().padStart(4, "0");
}

function isAscii(character) {
  return character !== undefined && character.codePointAt(0) < 0x80;
}

function needsMark(character) {
  return (
    INVISIBLE.test(character) ||
    ODD_SPACE.test(character) ||
    VARIATION_SELECTOR.test(character) ||
    TAG.test(character) ||
    HANGUL_FILLER.test(character)
  );
}

/**
 * The parts of `text`, in order: { text } for what shows as it is,
 * { text, mark } where `mark` names the characters of `text` ("U+202E", or
 * "␣" and a count for blanks: "␣", "␣×170").
 */
export function visibleParts(text) {
  const characters = [...String(text)];
  const parts = [];
  let plain = "";
  const flush = () => {
    if (plain !== "") {
      parts.push({ text: plain });
      plain = "";
    }
  };
  let afterAscii = false; // the last character shown as it is was ASCII, or marks of combining characters follow one
  for (let i = 0; i < characters.length; ) {
    const character = characters[i];
    if (character === " ") {
      let end = i;
      while (characters[end] === " ") {
        end++;
      }
      const count = end - i;
      if (count > 1 || i === 0 || end === characters.length) {
        flush();
        parts.push({ text: " ".repeat(count), mark: count === 1 ? "␣" : `␣×${count}` });
      } else {
        plain += character;
      }
      afterAscii = true;
      i = end;
      continue;
    }
    const merging = COMBINING.test(character) && afterAscii;
    if (merging || needsMark(character)) {
      flush();
      parts.push({ text: character, mark: codePointName(character) });
      afterAscii = merging;
    } else {
      plain += character;
      afterAscii = isAscii(character);
    }
    i++;
  }
  flush();
  return parts;
}

/** The first `limit` characters (code points) of `text`, and whether that is all of it. */
export function shortened(text, limit) {
  const characters = [...String(text)];
  return characters.length <= limit
    ? { text: String(text), whole: true }
    : { text: characters.slice(0, limit).join(""), whole: false };
}

/** How long a text is, for a person: characters (code points) and UTF-8 bytes. */
export function lengthOf(text) {
  const characters = [...String(text)].length;
  const bytes = new TextEncoder().encode(String(text)).length;
  return { characters, bytes };
}
