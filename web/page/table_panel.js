// The element table panel.
import { $ } from "./dom.js";
import { core } from "./core.js";
import { ask, queueMessages } from "./messages.js";
import { checksum, kStorageKey, kTableName, store } from "./store.js";

const cmdTable = $("cmdTable");
// Which table is in force, under its button: the built-in one, a ready one,
// one from a file or a teacher's link, and whether it was edited since. The
// note beside the table carries a hash of the bytes it speaks of; where the
// bytes are not those (another tab, another page from disk, an earlier page
// that kept no note), what is said comes from the bytes alone.
export const kReadyTables = VELTRAX_READY_TABLES; // put in by the bundler
export const kSourceNames = {
  builtin: "встроенная", school: "школьная", iupac: "IUPAC 2021", link: "по ссылке учителя",
  empty: "встроенная (файл пуст)", own: "своя",
};
const readNote = () => {
  try {
    return JSON.parse(store.getMeta(`${kTableName}#source`)) ?? {};
  } catch (error) {
    return {};
  }
};
export const sourceOf = () => {
  const stored = store.get(kTableName);
  if (stored === "") return { kind: "empty" };
  const bytes = stored ?? builtIn();
  for (const [kind, ready] of [["builtin", builtIn()], ["school", kReadyTables.school], ["iupac", kReadyTables.iupac]])
    if (bytes === ready) return { kind };
  const note = readNote();
  return note.check === checksum(bytes) && note.kind ? note : { kind: "own" };
};
export const sourceName = (source) =>
  (source.kind === "file" ? `из файла «${source.name}»` : kSourceNames[source.kind] ?? kSourceNames.own) +
  (source.edited ? ", изменена" : "");
export const showSource = () => {
  if (core) $("tableInUse").textContent = `Таблица: ${sourceName(sourceOf())}`;
};
// The file the table in force was loaded from, which the messages name.
// Only where the note speaks of a file are the bytes looked at.
export const tableFile = () => {
  if (readNote().kind !== "file") return "";
  const source = sourceOf();
  return source.kind === "file" ? source.name : "";
};
const setSource = (source, bytes) => {
  store.setMeta(`${kTableName}#source`, JSON.stringify({ ...source, check: checksum(bytes) }));
  showSource();
};
const panel = $("tablePanel");
const tableText = $("tableText");
const tableStatus = $("tableStatus");
const tableConflict = $("tableConflict");
export const builtIn = () => {
  const data = core._veltrax_built_in_data();
  return String.fromCharCode(...core.HEAPU8.subarray(data, data + core._veltrax_built_in_size()));
};
export const tableBytes = () => {
  if (store.get(kTableName) === null) store.create(kTableName, builtIn());
  const bytes = store.get(kTableName);
  return bytes === null ? builtIn() : bytes;
};
// The built-in copy ends with a NUL byte after the last blank; the editor
// leaves it out of sight and edits keep it.
let endsWithNul = false;
// The stored version that the panel's text was taken from: an edit made on
// an older text than the stored one is never written over it unasked.
let panelVersion = null;
let panelSource = { kind: "builtin" }; // what the panel's text was when taken
const setConflict = (on) => {
  tableConflict.hidden = !on;
};
const showTable = () => {
  const bytes = tableBytes();
  panelVersion = store.version(kTableName);
  panelSource = sourceOf();
  setConflict(false);
  endsWithNul = bytes.endsWith("\0");
  tableText.value = (endsWithNul ? bytes.slice(0, -1) : bytes).replace(/\r\n|\r/g, "\n");
  tableText.setSelectionRange(0, 0);
  tableText.scrollTop = tableText.scrollLeft = 0;
};
const say = (text) => {
  tableStatus.textContent = text;
};
// Characters beyond one byte cannot stand in the file: "?" takes their place.
const toBytes = (text) => text.replace(/[^\u0000-\u00ff]/g, "?");
const panelBytes = () => toBytes(tableText.value.replace(/\n/g, "\r\n")) + (endsWithNul ? "\0" : "");
// The page computes with the bytes from now on, named by `source`; the
// status says whether they are stored too.
let lastWrite = null; // this tab's last stored table and its version, till another tab has seen it
const keep = (bytes, source, done) => {
  const stored = store.set(kTableName, bytes, panelVersion);
  setSource(source, bytes);
  if (stored) {
    panelVersion = store.version(kTableName);
    lastWrite = { bytes, version: panelVersion, source };
    say(done);
    return;
  }
  say(store.available
    ? "Браузер не сохранил таблицу: его хранилище переполнено или закрыто для записи. Правки действуют, пока " +
      "страница открыта; чтобы они не пропали, сохраните таблицу в файл кнопкой «Сохранить как NameMass.dat»."
    : "Хранилище браузера недоступно: правки действуют, пока страница открыта. Чтобы они не пропали, " +
      "сохраните таблицу в файл кнопкой «Сохранить как NameMass.dat».");
};
// What the analyses would say of a table's bytes, at once.
export const checkTable = (bytes) => {
  const data = Uint8Array.from(bytes, (c) => c.charCodeAt(0));
  const pointer = core._malloc(data.length + 1);
  core.HEAPU8.set(data, pointer);
  try {
    return JSON.parse(core.UTF8ToString(core._veltrax_check_table(pointer, data.length)));
  } finally {
    core._free(pointer);
  }
};
const problemOf = (bytes, source) => {
  const problem = checkTable(bytes);
  if (problem === "") return "";
  const named = source.kind === "file" ? `Таблица из файла «${source.name}»` : "Таблица";
  return ` ${named}: ${problem.charAt(0).toLowerCase()}${problem.slice(1)}`;
};
// A whole new table: stored, said in the status with its check, and shown.
export const take = (bytes, source, done) => {
  keep(bytes, source, done);
  tableStatus.textContent += problemOf(bytes, source);
  showTable();
};
const changedElsewhere = () => store.available && store.version(kTableName) !== panelVersion;
const kConflict = "Таблицу изменили в другой вкладке или окне, пока здесь её правили: ваши правки не сохранены.";
cmdTable.addEventListener("click", () => {
  if (!core) return;
  say("");
  showTable();
  panel.showModal();
  offerOverwritten();
  panel.scrollTop = 0;
  tableText.focus({ preventScroll: true });
  queueMessages(store.takeNotices());
});
// An edit is stored once the typing pauses (storing a large table takes the
// browser milliseconds that no key should wait for), and at the latest when
// the panel closes, an analysis starts or the page is left.
let editPending = false;
let storeTimer = 0;
export const storeEdit = () => {
  clearTimeout(storeTimer);
  if (!editPending) return;
  editPending = false;
  if (!tableConflict.hidden || changedElsewhere()) {
    setConflict(true);
    say(kConflict);
    return;
  }
  const bytes = panelBytes();
  keep(bytes, { ...panelSource, edited: true }, "Правки сохранены: они действуют со следующего расчёта.");
  tableStatus.textContent += problemOf(bytes, panelSource);
};
tableText.addEventListener("input", () => {
  editPending = true;
  clearTimeout(storeTimer);
  storeTimer = setTimeout(storeEdit, 300);
});
window.addEventListener("pagehide", storeEdit);
$("tableTakeStored").addEventListener("click", () => {
  showTable();
  say("Показана таблица, сохранённая в другой вкладке или окне.");
  tableText.focus();
});
$("tableKeepMine").addEventListener("click", () => {
  setConflict(false);
  keep(panelBytes(), { ...panelSource, edited: true }, "Ваша таблица сохранена вместо изменённой в другой вкладке или окне.");
  tableText.focus();
});
// Another tab or window stored a table: the panel shows it where it holds
// no edit of its own that was not stored.
// An edit stored here and then written over by a tab whose edit was made on
// an older table (both stored within the moment storage takes to reach the
// other tab) is not lost without a word: the panel offers it back.
let overwritten = null;
const kOverwritten = "Правку, сохранённую здесь, заменила одновременная правка из другой вкладки или окна: " +
  "расчёты ведутся по ней. Чтобы вернуть свою, нажмите «Оставить мою».";
const offerOverwritten = () => {
  if (overwritten === null || !panel.open) return;
  endsWithNul = overwritten.endsWith("\0");
  tableText.value = (endsWithNul ? overwritten.slice(0, -1) : overwritten).replace(/\r\n|\r/g, "\n");
  overwritten = null;
  setConflict(true);
  say(kOverwritten);
};
window.addEventListener("storage", (event) => {
  if (event.key !== null && !event.key.startsWith(kStorageKey + kTableName)) return;
  if (event.key === `${kStorageKey}${kTableName}#version` && lastWrite !== null && event.newValue !== lastWrite.version) {
    if (!(event.newValue ?? "").endsWith(`<${lastWrite.version}`)) {
      overwritten = lastWrite.bytes;
      if (panel.open && !editPending) offerOverwritten();
      else if (!panel.open) queueMessages([kOverwritten.replace("нажмите", "откройте «Таблица элементов» и нажмите")]);
    }
    lastWrite = null;
  }
  store.forget();
  showSource();
  if (!panel.open || !tableConflict.hidden || editPending) return;
  if (store.isUnsaved(kTableName)) {
    setConflict(true);
    say(kConflict);
    return;
  }
  const stored = store.get(kTableName);
  if (stored !== null && (changedElsewhere() || stored !== panelBytes())) {
    showTable();
    say("Таблицу изменили в другой вкладке или окне: показана сохранённая.");
  }
});
$("tableLoad").addEventListener("click", () => $("tableFile").click());
$("tableFile").addEventListener("change", async () => {
  const file = $("tableFile").files[0];
  $("tableFile").value = "";
  if (!file) return;
  try {
    const bytes = new Uint8Array(await file.arrayBuffer());
    let text = "";
    for (let i = 0; i < bytes.length; i += 8192) text += String.fromCharCode(...bytes.subarray(i, i + 8192));
    // More than the program reads would be cut: refused before anything is stored.
    if (text.length > core._veltrax_table_bound()) {
      const problem = checkTable(text);
      say(`Файл «${file.name}» не взят: ${problem === "" ? `в нём больше ${core._veltrax_table_bound()} байт, ` +
        "которые читает программа." : problem.charAt(0).toLowerCase() + problem.slice(1)} Таблица не изменилась.`);
      return;
    }
    // A table saved with Linux's line ends would be one line to the program.
    const converted = text.replace(/(?<!\r)\n/g, "\r\n");
    const told = converted === text ? "" : " Концы строк LF в нём заменены на CR LF, как нужно программе.";
    take(converted, { kind: "file", name: file.name }, `Загружена таблица из файла «${file.name}».${told}`);
  } catch (error) {
    say(`Файл «${file.name}» не удалось прочитать (${error.name}).`);
  }
});
$("tableSave").addEventListener("click", () => {
  const bytes = tableBytes();
  const blob = new Blob([Uint8Array.from(bytes, (c) => c.charCodeAt(0))], { type: "application/octet-stream" });
  const link = document.createElement("a");
  link.href = URL.createObjectURL(blob);
  link.download = kTableName;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  say("Таблица сохранена как NameMass.dat в папку загрузок браузера.");
});
// A whole table replaced after a question: the built-in one or a ready one.
const offerTable = (button, kind, bytes) =>
  $(button).addEventListener("click", () =>
    ask(`Заменить таблицу элементов таблицей «${kSourceNames[kind]}»? Все правки в текущей таблице пропадут.`,
      "Заменить", "Отмена", () => take(bytes(), { kind }, `Взята таблица «${kSourceNames[kind]}».`),
      () => tableText.focus()));
offerTable("tableRestore", "builtin", builtIn);
offerTable("tableSchool", "school", () => kReadyTables.school);
offerTable("tableIupac", "iupac", () => kReadyTables.iupac);
// Closing over a standing conflict would drop the edit that is not stored:
// asked first, by the button and by Escape alike.
const closePanel = () => {
  storeEdit();
  if (tableConflict.hidden) {
    panel.close();
    return;
  }
  ask("Закрыть таблицу? Ваши правки не сохранены: таблицу изменили в другой вкладке или окне. Чтобы они не " +
    "пропали, вернитесь и нажмите «Оставить мою».", "Закрыть", "Вернуться", () => {
    setConflict(false);
    panel.close();
  }, () => panel.open && tableText.focus());
};
$("tableClose").addEventListener("click", closePanel);
panel.addEventListener("cancel", (event) => {
  event.preventDefault();
  closePanel();
});
// The close event comes a task later: where the focus has gone meanwhile
// (a click into the formula box), it stays.
panel.addEventListener("close", () => {
  storeEdit();
  if (document.activeElement === document.body || panel.contains(document.activeElement)) cmdTable.focus();
});
