// Text that a site or a token supplied, put into a window so that a person
// sees what it is: characters that would show as something else are marks
// naming them (shared/marks.js), a line break is a mark and a break, and
// what is too long to show at once is shortened, the whole a click away.
// Nothing goes in as markup.
import { lengthOf, shortened, visibleParts } from "../shared/marks.js";

/** The parts of `text` as nodes; each mark carries the characters it stands for in data-raw. */
export function marked(text) {
  const fragment = document.createDocumentFragment();
  for (const part of visibleParts(text)) {
    if (part.mark === undefined) {
      fragment.append(part.text);
      continue;
    }
    const mark = document.createElement("span");
    mark.className = "mark";
    mark.textContent = part.mark;
    mark.dataset.raw = part.text;
    mark.title = part.text.startsWith(" ") ? "blanks" : `the character ${part.mark}, which would not show as it is`;
    fragment.append(mark);
    if (part.text === "\n" || part.text === "\u2028" || part.text === "\u2029") {
      fragment.append(document.createElement("br"));
    }
  }
  return fragment;
}

/** Fills `element` with `text`, marked. */
export function showMarked(element, text) {
  element.replaceChildren(marked(text));
}

/**
 * Fills `element` with the first `limit` characters of `text`, marked, and
 * when that is not all, a "Show all" that reveals the whole, marked too.
 * `after` (plain text) follows the shortened part.
 */
export function showShortened(element, text, limit, { after = "", what = "text" } = {}) {
  const short = shortened(text, limit);
  const nodes = [marked(short.text)];
  if (!short.whole) {
    const ellipsis = document.createElement("span");
    ellipsis.className = "cut";
    ellipsis.textContent = "…";
    nodes.push(ellipsis);
  }
  if (after) {
    nodes.push(after);
  }
  if (!short.whole) {
    const details = document.createElement("details");
    const summary = document.createElement("summary");
    summary.textContent = `Show the whole ${what} (${lengthOf(text).characters} characters)`;
    const whole = document.createElement("span");
    whole.className = "whole";
    whole.append(marked(text));
    details.append(summary, whole);
    nodes.push(details);
  }
  element.replaceChildren(...nodes);
}

/** "12 characters, 14 bytes" */
export function lengthInWords(text) {
  const { characters, bytes } = lengthOf(text);
  const plural = (count, word) => `${count} ${word}${count === 1 ? "" : "s"}`;
  return `${plural(characters, "character")}, ${plural(bytes, "byte")} in UTF-8`;
}
