// Messages: modal, one at a time, in order; and what a screen reader hears.
import { $ } from "./dom.js";

// The result of Enter or of the button, for a screen reader.
const resultLive = $("resultLive");
export const announce = (text) => {
  resultLive.textContent = "";
  resultLive.textContent = text;
};

const messageBox = $("message");
const messages = [];
let focusBeforeMessages = null;
const showNextMessage = () => {
  if (messageBox.open || messages.length === 0) return;
  if (focusBeforeMessages === null) focusBeforeMessages = document.activeElement;
  $("messageText").textContent = messages.shift();
  messageBox.showModal();
  // Opened at its top, so that its first line (which element, which file)
  // is in sight at any zoom; OK is reached by scrolling or by Enter.
  messageBox.scrollTop = 0;
  $("messageOK").focus({ preventScroll: true });
};
messageBox.addEventListener("close", () => {
  if (messages.length > 0) {
    setTimeout(showNextMessage);
    return;
  }
  const back = focusBeforeMessages;
  focusBeforeMessages = null;
  if (back && back !== document.body) back.focus();
});
// Opened after the event that raised them has ended, so that the Enter that
// started an analysis does not also press OK.
export const queueMessages = (texts) => {
  if (texts.length === 0) return;
  messages.push(...texts);
  setTimeout(showNextMessage);
};

// A question with two answers, one at a time: `action` runs on the first,
// `after` on either, once the question has closed.
const questionBox = $("confirmRestore");
const questions = [];
let asked = null;
const askNext = () => {
  if (questionBox.open || questions.length === 0) return;
  asked = questions.shift();
  $("confirmText").textContent = asked.question;
  $("confirmYes").textContent = asked.yes;
  $("confirmNo").textContent = asked.no;
  questionBox.returnValue = "";
  questionBox.showModal();
  questionBox.scrollTop = 0;
  $("confirmNo").focus({ preventScroll: true });
};
questionBox.addEventListener("close", () => {
  const { action, after } = asked;
  asked = null;
  if (questionBox.returnValue === "yes") action();
  if (after) after();
  setTimeout(askNext);
});
export const ask = (question, yes, no, action, after = null) => {
  questions.push({ question, yes, no, action, after });
  askNext();
};
