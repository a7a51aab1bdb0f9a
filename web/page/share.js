// The teacher's table by link: the table in force written into the page's
// address after "#" (which never reaches a server), as a QR code for the
// class, and taken from such a link only after the check and a question.
//   #table=school                        a ready table as it is
//   #table=school&edit=I-T~I-T&check=C   a ready table with texts I replaced by T
//   #whole=Z&check=C                     any other table, compressed
// Edits replace the table's texts and blank runs ("_3" is three blanks) by
// their number; the check is a hash of the whole table, so that a link
// changed on the way is refused.
import { qrCode, showCode } from "./codes.js";
import { $ } from "./dom.js";
import { ask, queueMessages } from "./messages.js";
import { checksum } from "./store.js";
import { builtIn, checkTable, kReadyTables, kSourceNames, sourceName, sourceOf, tableBytes, take } from "./table_panel.js";

const ready = () => ({ builtin: builtIn(), school: kReadyTables.school, iupac: kReadyTables.iupac });
const tokens = (bytes) => bytes.match(/ +|\r\n|\r|\n|[^ \r\n]+/g) ?? [];
const encodeToken = (token) => (/^ +$/.test(token) ? `_${token.length}` : /^[A-Za-z0-9.]+$/.test(token) ? token : null);
const decodeToken = (text) => (/^_\d{1,5}$/.test(text) ? " ".repeat(Number(text.slice(1))) : /^[A-Za-z0-9.]+$/.test(text) ? text : null);

// The edits that turn a ready table into `bytes`, where only texts change.
const editsFrom = (base, bytes) => {
  const [from, to] = [tokens(base), tokens(bytes)];
  if (from.length !== to.length || from.join("") !== base) return null;
  const edits = [];
  for (let i = 0; i < to.length; ++i) {
    if (from[i] === to[i]) continue;
    const text = encodeToken(to[i]);
    if (text === null || /\r|\n/.test(from[i])) return null;
    edits.push(`${i}-${text}`);
  }
  return edits.join("~");
};
const toBase64Url = (bytes) =>
  btoa(String.fromCharCode(...bytes)).replace(/\+/g, "-").replace(/\//g, "_").replace(/=+$/, "");
const fromBase64Url = (text) => Uint8Array.from(atob(text.replace(/-/g, "+").replace(/_/g, "/")), (c) => c.charCodeAt(0));
const squeeze = async (bytes, stream) => {
  const data = typeof bytes === "string" ? Uint8Array.from(bytes, (c) => c.charCodeAt(0)) : bytes;
  return new Uint8Array(await new Response(new Blob([data]).stream().pipeThrough(stream)).arrayBuffer());
};

// The link's part after "#" for a table.
export const shareFragment = async (bytes) => {
  const tables = ready();
  for (const [name, base] of Object.entries(tables)) if (base === bytes) return `table=${name}`;
  for (const [name, base] of Object.entries(tables)) {
    const edits = editsFrom(base, bytes);
    if (edits !== null && edits.length < 400) return `table=${name}&edit=${edits}&check=${checksum(bytes)}`;
  }
  return `whole=${toBase64Url(await squeeze(bytes, new CompressionStream("deflate-raw")))}&check=${checksum(bytes)}`;
};

// The table a link's part after "#" carries, with what it was made from;
// null where it carries none; an error where it is damaged.
export const tableOfFragment = async (fragment) => {
  const fields = new URLSearchParams(fragment);
  if (!fields.has("table") && !fields.has("whole")) return null;
  const damaged = { error: "Ссылка на таблицу повреждена или неполна: таблица не взята." };
  let bytes;
  let name = "";
  if (fields.has("table")) {
    name = fields.get("table");
    const base = ready()[name];
    if (base === undefined) return damaged;
    if (!fields.has("edit")) return { bytes: base, name: kSourceNames[name], edited: false };
    const parts = tokens(base);
    for (const edit of fields.get("edit").split("~")) {
      const [, index, text] = edit.match(/^(\d{1,6})-(.*)$/) ?? [];
      const token = text === undefined ? null : decodeToken(text);
      if (token === null || Number(index) >= parts.length || /\r|\n/.test(parts[Number(index)])) return damaged;
      parts[Number(index)] = token;
    }
    bytes = parts.join("");
    name = kSourceNames[name];
  } else {
    try {
      bytes = String.fromCharCode(...(await squeeze(fromBase64Url(fields.get("whole")), new DecompressionStream("deflate-raw"))));
    } catch (error) {
      return damaged;
    }
  }
  if (checksum(bytes) !== fields.get("check")) return damaged;
  return { bytes, name, edited: fields.has("edit") };
};

// Symbol and mass text of each element, in the table's order: for saying
// how two tables differ.
const masses = (bytes) => {
  const [symbols = "", values = ""] = bytes.split(/\r\n|\r/);
  const result = new Map();
  for (const { 0: symbol, index } of symbols.matchAll(/[^ \0]+/g))
    if (!result.has(symbol)) result.set(symbol, values.slice(index).match(/^[^ \0]*/)[0]);
  return result;
};
const differences = (bytes, inForce) => {
  const [theirs, ours] = [masses(bytes), masses(inForce)];
  const said = [];
  for (const [symbol, mass] of theirs) if (ours.get(symbol) !== mass) said.push(`${symbol} ${mass || "—"} вместо ${ours.get(symbol) ?? "—"}`);
  return said;
};

$("tableShare").addEventListener("click", async () => {
  const fragment = await shareFragment(tableBytes());
  const link = `${location.href.replace(/#.*$/, "")}#${fragment}`;
  const served = /^https?:$/.test(location.protocol);
  const code = qrCode(link);
  const fits = code !== null && code.version <= 10;
  showCode("Поделиться таблицей",
    (served ? "Откройте ссылку на телефонах учеников (наведите камеру на код) или пошлите её: " +
      "страница покажет, какая это таблица, и спросит, взять ли её." : "Страница открыта с диска: эту ссылку " +
      "откроют только на этом компьютере. Для класса положите папку web на сервер и поделитесь оттуда.") +
      (fits ? "" : code === null ? " Таблица слишком велика для QR-кода: пошлите ссылку как текст или файл " +
        "кнопкой «Сохранить как NameMass.dat»." : " Таблица отличается от готовой многим, и код получился крупным: " +
        "с задних парт его может быть не прочесть. Пошлите ссылку как текст или файл."),
    link);
});

// A link with a table, opened: told what it is, checked, and taken only
// when the user says so. The address then loses its table, so that a reload
// does not ask again.
export const offerLinkedTable = async () => {
  const linked = await tableOfFragment(location.hash.slice(1)).catch(() => ({ error: "" }));
  if (linked === null) return;
  const forget = () => history.replaceState(null, "", location.href.replace(/#.*$/, ""));
  if (linked.error !== undefined) {
    queueMessages([linked.error || "Ссылка на таблицу повреждена: таблица не взята."]);
    forget();
    return;
  }
  const problem = checkTable(linked.bytes);
  if (problem !== "") {
    queueMessages([`Таблица по ссылке не взята: ${problem.charAt(0).toLowerCase()}${problem.slice(1)}`]);
    forget();
    return;
  }
  const inForce = tableBytes();
  if (linked.bytes === inForce) {
    queueMessages(["Таблица по ссылке та же, по которой страница уже считает."]);
    forget();
    return;
  }
  const source = sourceOf();
  const what = linked.name ? `таблица «${linked.name}»${linked.edited ? " с правками" : ""}` : "таблица учителя";
  const changed = differences(linked.bytes, inForce);
  ask(`Взять таблицу элементов по ссылке учителя? Это ${what}. От таблицы, по которой страница считает сейчас ` +
    `(${sourceName(source)}), она отличается ` +
    (changed.length === 0 ? "записью, но не массами." :
      `массами: ${changed.slice(0, 5).join(", ")}${changed.length > 5 ? ` и ещё ${changed.length - 5}` : ""}.`),
  "Взять", "Отмена",
  () => take(linked.bytes, { kind: "link" }, "Взята таблица по ссылке учителя."),
  forget);
};
