// The report box, bounded as the desktop's is; the button; the precision.
import { $ } from "./dom.js";
import { call, core, withCRLF } from "./core.js";
import { forgetLastAnswer } from "./formula_box.js";
import { visibleTwips } from "./layout.js";
import { announce, queueMessages } from "./messages.js";
import { describe, draw } from "./picture.js";
import { store } from "./store.js";
import { storeEdit, tableFile } from "./table_panel.js";

const txtPercent = $("txtPercent");
const Command1 = $("Command1");
const cmbPrecision = $("cmbPrecision");
const picFormula = $("picFormula");

export const decimalSeparator = () => {
  try {
    const parts = new Intl.NumberFormat(navigator.language).formatToParts(1.5);
    const decimal = parts.find((part) => part.type === "decimal");
    return decimal ? decimal.value : ".";
  } catch (error) {
    return ".";
  }
};
let places = 1;
export const precision = () => places;

Command1.addEventListener("click", () => {
  if (!core) return;
  forgetLastAnswer();
  storeEdit();
  store.beginAnalysis();
  const answer = call("command", withCRLF(txtPercent.value), precision(), decimalSeparator(), tableFile(), visibleTwips());
  draw(answer);
  describe(); // and said to a screen reader at once
  announce(picFormula.getAttribute("aria-description"));
  queueMessages([...store.takeNotices(), ...answer.messages]);
});

// Of an insertion that would leave more than the box keeps, the start is
// taken, never half a character, and the user is told how much was left
// out: once for each paste or drop, once for typing into a full box.
// The browser's own editing takes time that grows with the square of the
// lines inserted (seconds for a few thousand), so a long paste or drop is
// put in place directly: quick, but without a step in the undo history.
const kLongInsertion = 4096;
let toldFull = false;
txtPercent.addEventListener("beforeinput", (event) => {
  if (!core || !event.inputType.startsWith("insert")) return;
  let data = event.dataTransfer ? event.dataTransfer.getData("text/plain") : event.data;
  if (event.inputType === "insertLineBreak" || event.inputType === "insertParagraph") data = "\n";
  if (typeof data !== "string") return;
  data = data.replace(/\r\n?/g, "\n");
  const { value, selectionStart, selectionEnd } = txtPercent;
  core.veltraxInsertion = data;
  const kept = core._veltrax_report_keeps(value.length, selectionEnd - selectionStart, data.length);
  core.veltraxInsertion = "";
  if (kept === data.length && kept <= kLongInsertion) return; // the browser inserts it
  event.preventDefault();
  txtPercent.setRangeText(data.slice(0, kept), selectionStart, selectionEnd, "end");
  if (kept === data.length) return;
  const typing = event.inputType === "insertText" || event.inputType === "insertLineBreak";
  if (typing && toldFull) return;
  toldFull = typing;
  queueMessages([JSON.parse(core.UTF8ToString(core._veltrax_report_cut(data.length - kept)))]);
});
txtPercent.addEventListener("input", () => {
  if (core && txtPercent.value.length < core._veltrax_report_capacity()) toldFull = false;
});

// The list's entries, 0 to the last the core allows, "1" chosen.
export const fillPrecisions = (last) => {
  for (let entry = cmbPrecision.length; entry <= last; ++entry) cmbPrecision.add(new Option(String(entry), String(entry)));
  cmbPrecision.selectedIndex = places;
};
cmbPrecision.addEventListener("change", () => {
  places = Number(cmbPrecision.value);
});
