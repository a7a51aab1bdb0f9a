// Layout: the window's, in twips, over the viewport. The six controls of the
// window are placed by the core's rule (drawing/window_layout.h), through the
// bindings; the page's own controls follow them.
import { $ } from "./dom.js";
import { call, core } from "./core.js";

// Twips a CSS pixel at 96 to the inch, and the six at the opening size, from
// the core (put in by the bundler).
const kOpening = VELTRAX_OPENING_LAYOUT;
export const kTwipsPerPixel = kOpening.twipsPerPixel;
const picFormula = $("picFormula");

// The six, in the core's order, with their places (left, top, width, height
// in twips): the core's as it laid them out last; before it has loaded, as
// it lays them out at the opening size.
const kControls = ["picFormula", "txtFormula", "txtPercent", "Command1", "lblPrecision", "cmbPrecision"];
let places = kOpening.controls;
const placeOf = (id) => places[kControls.indexOf(id)];
// The page's own: the notice under the picture, the table's button and the
// line under it below the big button, the phone's button under the list.
const kOwnControls = ["formulaNotice", "cmdTable", "tableInUse", "cmdPhone"];
const kNoticeTop = 1215; // right under the picture
let phonePicture = null; // the picture's width in twips where the phone layout gives it

// CSS pixels a pixel of the design, from the size of the browser window as
// it is at the browser's zoom of 100 %: zooming in then enlarges everything,
// as on any page (devicePixelRatio grows with the zoom; its value at start
// counts as 100 %). Never below 8/7, where the smallest control, the
// precision list of 315 twips, is 24 CSS pixels tall; up to 3 on a large
// screen or a projector, so that the type stays readable from afar.
const startRatio = window.devicePixelRatio || 1;
const zoom = () => (window.devicePixelRatio || 1) / startRatio;
const kMinScale = 8 / 7;
const scale = () =>
  Math.min(3, Math.max(kMinScale, Math.min((window.innerWidth * zoom()) / 954, (window.innerHeight * zoom()) / 540)));
// Narrower than this, or on a touch screen, the window's layout would leave
// controls too small to read and hit: the same controls stand one under the
// other, full width.
const kPhoneWidth = 600;
const phoneLayout = () => window.innerWidth < kPhoneWidth || window.matchMedia("(pointer: coarse)").matches;
let pixelsPerTwip = 1 / kTwipsPerPixel;
const f = Math.fround; // the controls' coordinates are single precision

const place = (id, [left, top, width, height]) => {
  const style = $(id).style;
  style.left = `${left * pixelsPerTwip}px`;
  style.top = `${top * pixelsPerTwip}px`;
  style.width = `${width * pixelsPerTwip}px`;
  if (height > 0) style.height = `${height * pixelsPerTwip}px`;
};
export const layout = () => {
  const phone = phoneLayout();
  document.documentElement.classList.toggle("phone", phone);
  pixelsPerTwip = scale() / kTwipsPerPixel;
  // Dialogs and the panel follow the page's scale: 15 pixels at the least.
  document.documentElement.style.setProperty("--k", `${phone ? Math.max(pixelsPerTwip, 16 / 225) : pixelsPerTwip}px`);
  if (phone) {
    for (const id of [...kControls, ...kOwnControls]) $(id).removeAttribute("style");
    // The picture keeps the design's 735 twips in its CSS height.
    const box = picFormula.getBoundingClientRect();
    phonePicture = f(box.width / (box.height / 735));
    picFormula.setAttribute("viewBox", `0 0 ${phonePicture} 735`);
    return;
  }
  phonePicture = null;
  const W = f(window.innerWidth / pixelsPerTwip);
  const H = f(window.innerHeight / pixelsPerTwip);
  // The notice first: while it is shown, what stands below the picture moves
  // down by its band.
  const notice = $("formulaNotice");
  place("formulaNotice", [0, kNoticeTop, W, 0]);
  const below = kOpening.controls[kControls.indexOf("txtPercent")][1];
  const band = notice.hidden ? 0 : Math.max(0, kNoticeTop + notice.getBoundingClientRect().height / pixelsPerTwip + 45 - below);
  if (core) places = call("layout", W, H, band);
  kControls.forEach((id, i) => place(id, places[i]));
  place("cmdTable", [0, 2745 + band, 1095, 615]);
  place("tableInUse", [0, 3420 + band, 1095, 0]);
  place("cmdPhone", [placeOf("lblPrecision")[0], 2445 + band, 1095, 615]);
  const [, , pw, ph] = placeOf("picFormula");
  picFormula.setAttribute("viewBox", `0 0 ${pw} ${ph}`);
};

export const visibleTwips = () => phonePicture ?? placeOf("picFormula")[2];
