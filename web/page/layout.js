// Layout: the window's, in twips, over the viewport.
import { $ } from "./dom.js";

export const kTwipsPerPixel = 15; // 1440 twips an inch, 96 CSS pixels an inch
const picFormula = $("picFormula");

// Design positions (left, top, width, height) in twips.
export const geometry = {
  picFormula: [0, 480, 7095, 735],
  formulaNotice: [0, 1215, 7095, 0], // under the picture, as tall as its text, over what lies below
  txtFormula: [0, 0, 7095, 375],
  txtPercent: [1200, 1320, 4095, 2535],
  Command1: [0, 1320, 1095, 1335],
  lblPrecision: [5280, 1320, 1215, 615],
  cmbPrecision: [5400, 2040, 975, 315],
  cmdTable: [0, 2745, 1095, 615],
  tableInUse: [0, 3420, 1095, 0], // which element table is in force, under its button
  cmdPhone: [5280, 2445, 1095, 615], // the page's address as a QR code, under the precision
};
// CSS pixels a pixel of the design, from the size of the browser window as
// it is at the browser's zoom of 100 %: zooming in then enlarges everything,
// as on any page (devicePixelRatio grows with the zoom; its value at start
// counts as 100 %). Never below 8/7, where the smallest control, the
// precision list of 315 twips, is 24 CSS pixels tall; up to 3 on a large
// screen or a projector, so that the type stays readable from afar.
const startRatio = window.devicePixelRatio || 1;
const zoom = () => (window.devicePixelRatio || 1) / startRatio;
const kMinScale = 8 / 7;
const kBelowPicture = 1320; // the top of the report box and of the controls beside it
const scale = () =>
  Math.min(3, Math.max(kMinScale, Math.min((window.innerWidth * zoom()) / 954, (window.innerHeight * zoom()) / 540)));
// Narrower than this, or on a touch screen, the window's layout would leave
// controls too small to read and hit: the same controls stand one under the
// other, full width.
const kPhoneWidth = 600;
const phoneLayout = () => window.innerWidth < kPhoneWidth || window.matchMedia("(pointer: coarse)").matches;
let pixelsPerTwip = 1 / kTwipsPerPixel;
const f = Math.fround; // the controls' coordinates are single precision
// A value the platform rejects (negative, not a number) is not applied.
const setIf = (box, index, value) => {
  if (Number.isFinite(value) && (value >= 0 || index === 0)) box[index] = f(value);
};
export const layout = () => {
  const phone = phoneLayout();
  document.documentElement.classList.toggle("phone", phone);
  pixelsPerTwip = scale() / kTwipsPerPixel;
  // Dialogs and the panel follow the page's scale: 15 pixels at the least.
  document.documentElement.style.setProperty("--k", `${phone ? Math.max(pixelsPerTwip, 16 / 225) : pixelsPerTwip}px`);
  const g = geometry;
  if (phone) {
    for (const id of Object.keys(g)) $(id).removeAttribute("style");
    // The picture keeps the design's 735 twips in its CSS height.
    const box = picFormula.getBoundingClientRect();
    g.picFormula[2] = f(box.width / (box.height / 735));
    picFormula.setAttribute("viewBox", `0 0 ${g.picFormula[2]} 735`);
    return;
  }
  const W = f(window.innerWidth / pixelsPerTwip);
  const H = f(window.innerHeight / pixelsPerTwip);
  setIf(g.txtFormula, 2, W);
  setIf(g.picFormula, 2, W);
  setIf(g.formulaNotice, 2, W);
  setIf(g.txtPercent, 2, f(W - f(2 * g.txtPercent[0])));
  setIf(g.lblPrecision, 0, f(f(g.txtPercent[0] + g.txtPercent[2]) + 50));
  setIf(g.cmbPrecision, 0, f(f(g.txtPercent[0] + g.txtPercent[2]) + 150));
  setIf(g.cmdPhone, 0, f(f(g.txtPercent[0] + g.txtPercent[2]) + 50));
  // The notice's band: what stands below the picture moves down by it.
  const place = (id, [left, top, width, height]) => {
    const style = $(id).style;
    style.left = `${left * pixelsPerTwip}px`;
    style.top = `${top * pixelsPerTwip}px`;
    style.width = `${width * pixelsPerTwip}px`;
    if (height > 0) style.height = `${height * pixelsPerTwip}px`;
  };
  place("formulaNotice", g.formulaNotice);
  const notice = $("formulaNotice");
  const noticeBottom = g.formulaNotice[1] + notice.getBoundingClientRect().height / pixelsPerTwip;
  const band = notice.hidden ? 0 : Math.max(0, noticeBottom + 45 - kBelowPicture);
  setIf(g.txtPercent, 3, f(H - (g.txtPercent[1] + band)));
  for (const [id, box] of Object.entries(g)) {
    if (id !== "formulaNotice") place(id, box[1] >= kBelowPicture ? [box[0], box[1] + band, box[2], box[3]] : box);
  }
  const [, , pw, ph] = g.picFormula;
  picFormula.setAttribute("viewBox", `0 0 ${pw} ${ph}`);
};

export const visibleTwips = () => geometry.picFormula[2];
