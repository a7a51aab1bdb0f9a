// The element table panel.
import { $ } from "./dom.js";
import { core } from "./core.js";
import { ask, queueMessages } from "./messages.js";
import { kStorageKey, kTableName, store } from "./store.js";

const cmdTable = $("cmdTable");
// Which table is in force, under its button: the built-in one, a ready one
// or one from a file, and whether it was edited since.
export const kReadyTables = VELTRAX_READY_TABLES; // put in by the bundler
export const kSourceNames = { builtin: "встроенная", school: "школьная", iupac: "IUPAC 2021", link: "по ссылке учителя" };
export const readSource = () => {
  try {
    return JSON.parse(store.getMeta(`${kTableName}#source`)) ?? { kind: "builtin" };
  } catch (error) {
    return { kind: "builtin" };
  }
};
export const sourceName = (source) =>
  (source.kind === "file" ? `из файла «${source.name}»` : kSourceNames[source.kind] ?? "встроенная") +
  (source.edited ? ", изменена" : "");
export const showSource = () => {
  $("tableInUse").textContent = `Таблица: ${sourceName(readSource())}`;
};
// The file the table in force was loaded from, which the messages name.
export const tableFile = () => {
  const source = readSource();
  return source.kind === "file" ? source.name : "";
};
const setSource = (source) => {
  store.setMeta(`${kTableName}#source`, JSON.stringify(source));
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
const setConflict = (on) => {
  tableConflict.hidden = !on;
};
const showTable = () => {
  const bytes = tableBytes();
  panelVersion = store.version(kTableName);
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
// The page computes with the bytes from now on; the status says whether
// they are stored too.
const keep = (bytes, done) => {
  if (store.set(kTableName, bytes)) {
    panelVersion = store.version(kTableName);
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
  setSource(source);
  keep(bytes, done);
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
  tableText.focus();
  queueMessages(store.takeNotices());
});
// An edit is stored once the frame that shows it has been painted (a table
// of megabytes takes the browser tens of milliseconds to store), and at
// the latest when the panel closes or the page is left.
let editPending = false;
export const storeEdit = () => {
  if (!editPending) return;
  editPending = false;
  if (!tableConflict.hidden || changedElsewhere()) {
    setConflict(true);
    say(kConflict);
    return;
  }
  const bytes = panelBytes();
  const source = readSource();
  if (!source.edited) setSource({ ...source, edited: true });
  keep(bytes, "Правки сохранены: они действуют со следующего расчёта.");
  tableStatus.textContent += problemOf(bytes, source);
};
tableText.addEventListener("input", () => {
  if (editPending) return;
  editPending = true;
  requestAnimationFrame(() => setTimeout(storeEdit));
  setTimeout(storeEdit, 250); // where no frame comes (a hidden tab)
});
window.addEventListener("pagehide", storeEdit);
$("tableTakeStored").addEventListener("click", () => {
  showTable();
  say("Показана таблица, сохранённая в другой вкладке или окне.");
  tableText.focus();
});
$("tableKeepMine").addEventListener("click", () => {
  setConflict(false);
  keep(panelBytes(), "Ваша таблица сохранена вместо изменённой в другой вкладке или окне.");
  tableText.focus();
});
// Another tab or window stored a table: the panel shows it where it holds
// no edit of its own that was not stored.
window.addEventListener("storage", (event) => {
  if (event.key !== null && !event.key.startsWith(kStorageKey + kTableName)) return;
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
    ask(`Заменить таблицу элементов таблицей «${kSourceNames[kind]}»? Все правки в нынешней таблице пропадут.`,
      "Заменить", "Отмена", () => take(bytes(), { kind }, `Взята таблица «${kSourceNames[kind]}».`),
      () => tableText.focus()));
offerTable("tableRestore", "builtin", builtIn);
offerTable("tableSchool", "school", () => kReadyTables.school);
offerTable("tableIupac", "iupac", () => kReadyTables.iupac);
$("tableClose").addEventListener("click", () => {
  storeEdit();
  panel.close();
});
// The close event comes a task later: where the focus has gone meanwhile
// (a click into the formula box), it stays.
panel.addEventListener("close", () => {
  storeEdit();
  if (document.activeElement === document.body || panel.contains(document.activeElement)) cmdTable.focus();
});
