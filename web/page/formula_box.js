// The formula box: every change cleaned by the core, with its notice; Enter.
import { $ } from "./dom.js";
import { call, core } from "./core.js";
import { layout, visibleTwips } from "./layout.js";
import { announce, queueMessages } from "./messages.js";
import { draw } from "./picture.js";
import { decimalSeparator, precision } from "./report_box.js";
import { store } from "./store.js";
import { storeEdit, tableFile } from "./table_panel.js";

const txtFormula = $("txtFormula");
const txtPercent = $("txtPercent");
// The core decides what the box keeps and what the notice says; the last
// answer serves the input event that follows a change it has already seen.
let lastAnswer = null;
// The picture is the derived formula's now: the next change is drawn anew.
export const forgetLastAnswer = () => {
  lastAnswer = null;
};
const formulaChanged = (typed, replacesAll = false) => {
  if (lastAnswer && lastAnswer.typed === typed) return lastAnswer;
  lastAnswer = call("formula_changed", typed, visibleTwips(), replacesAll ? 1 : 0);
  lastAnswer.typed = typed;
  return lastAnswer;
};
// What the cleaning took away, in a line under the picture that screen
// readers announce. The controls below stand lower while it is shown.
const formulaNotice = $("formulaNotice");
const showNotice = (text) => {
  if (formulaNotice.textContent === text && formulaNotice.hidden === (text === "")) return;
  formulaNotice.textContent = text;
  formulaNotice.hidden = text === "";
  layout();
};
// Writes the cleaned text back as an edit, so the browser's undo history
// keeps it: one undo step goes back to the text before the user's edit.
// The box's own events for it carry the text just handled: no new edit.
const writeBack = (cleaned) => {
  txtFormula.focus();
  txtFormula.select();
  if (cleaned === "") {
    if (txtFormula.value !== "") document.execCommand("delete");
  } else {
    document.execCommand("insertText", false, cleaned);
  }
  if (txtFormula.value !== cleaned) txtFormula.value = cleaned; // where editing commands are unavailable
  txtFormula.setSelectionRange(cleaned.length, cleaned.length);
};
const answerChange = (answer) => {
  draw(answer);
  showNotice(answer.notice);
  queueMessages(answer.messages);
  answer.messages = [];
};
// An input method's composition (a phone's keyboard, dictation, the
// Chinese or Japanese input) owns the box's text until it ends: nothing is
// written back meanwhile, and the composed text is cleaned once at its end.
let composing = false;
txtFormula.addEventListener("compositionstart", () => {
  composing = true;
});
txtFormula.addEventListener("compositionend", () => {
  composing = false;
  formulaInput();
});
// An insertion whose text the core would change is replaced by the cleaned
// text before it reaches the box, so the box never holds a huge paste. An
// autocorrect or dictation replacement changes a range of its own, not the
// selection: the box takes it, and the input event cleans it.
const kInsertions = new Set(["insertText", "insertFromPaste", "insertFromDrop", "insertFromYank"]);
txtFormula.addEventListener("beforeinput", (event) => {
  if (!core || composing || event.isComposing || !kInsertions.has(event.inputType)) return;
  const data = event.dataTransfer ? event.dataTransfer.getData("text/plain") : event.data;
  if (data === null || data === undefined) return;
  const { value, selectionStart, selectionEnd } = txtFormula;
  const whole = selectionStart === 0 && selectionEnd === value.length && value.length > 0;
  const answer = formulaChanged(value.slice(0, selectionStart) + data + value.slice(selectionEnd), whole);
  if (answer.formula === null) return; // the box takes the edit as it is
  event.preventDefault();
  writeBack(answer.formula);
  answerChange(answer);
});
export const formulaInput = (event) => {
  if (!core || composing || (event && event.isComposing)) return;
  const answer = formulaChanged(txtFormula.value);
  if (answer.formula !== null) writeBack(answer.formula);
  answerChange(answer);
};
txtFormula.addEventListener("input", formulaInput);
txtFormula.addEventListener("keydown", (event) => {
  if (!core || event.key !== "Enter" || event.isComposing) return;
  event.preventDefault();
  storeEdit();
  store.beginAnalysis();
  const answer = call("enter", precision(), decimalSeparator(), tableFile(), visibleTwips());
  showNotice(answer.notice);
  if (answer.report !== null) {
    txtPercent.value = answer.report.replace(/\r\n/g, "\n");
    // Said to a screen reader: the molar mass of the report's first line.
    announce(answer.report.slice(0, answer.report.indexOf("\r")).replace(/^# Масса - /, "Молярная масса "));
  }
  queueMessages([...store.takeNotices(), ...answer.messages]);
});
