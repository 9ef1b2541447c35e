// Orphan keys: keys on the logged-in token that no certificate belongs to.
import { $, confirmAction, fillTable, host, notify, recordRow, step } from "./ui.js";
import { loggedInToken, tokenName } from "./state.js";

const KINDS = { private: "private", public: "public" };

async function listOrphanKeys() {
  const token = loggedInToken();
  const keys = [];
  for (const keyType of Object.keys(KINDS)) {
    keys.push(...(await host("getOrphanKeys", { tokenSN: token.tokenSN, keyType })).orphanKeys);
  }
  const table = $("orphan-keys");
  fillTable(table, keys.map((key) => recordRow(table, [key.id, key.keyType === "private" ? "Private key" : "Public key"], {
    "data-key-id": key.id,
    "data-key-type": key.keyType,
  })), $("no-orphan-keys"));
  return keys;
}

async function deleteOrphanKeys(keyType) {
  const token = loggedInToken();
  const agreed = await confirmAction({
    title: `Delete every orphan ${keyType} key on ${tokenName(token)}?`,
    details: `Every ${keyType} key on the token that no certificate belongs to is deleted, including the keys of an enrolment still waiting for its certificate. This cannot be undone.`,
    yes: "Delete the keys",
  });
  if (!agreed) {
    notify("Nothing was deleted.");
    return null;
  }
  const reply = await host("deleteOrphanKeys", { tokenSN: token.tokenSN, keyType });
  const count = keyType === "private" ? reply.deletedSK : reply.deletedPK;
  await listOrphanKeys();
  notify(`Deleted ${count} orphan ${keyType} ${count === 1 ? "key" : "keys"}.`);
  return $("list-orphan-keys");
}

export function setupOrphanKeys() {
  $("list-orphan-keys").addEventListener("click", step($("list-orphan-keys"), async () => {
    const keys = await listOrphanKeys();
    notify(`${keys.length} orphan ${keys.length === 1 ? "key" : "keys"} listed.`);
    return keys.length > 0 ? $("orphan-keys") : $("no-orphan-keys");
  }));
  for (const keyType of Object.keys(KINDS)) {
    const button = $(`delete-orphan-${keyType}`);
    button.addEventListener("click", step(button, () => deleteOrphanKeys(keyType)));
  }
}
