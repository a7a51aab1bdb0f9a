// The page is the program's window: the same six controls, laid out in twips
// as the desktop lays them out, and the same core, compiled to WebAssembly,
// doing everything that is not the browser's work. This starts it.
import { $ } from "./dom.js";
import { call, core, setCore, textWidth } from "./core.js";
import { formulaInput } from "./formula_box.js";
import { layout, visibleTwips } from "./layout.js";
import { draw } from "./picture.js";
import "./codes.js";
import { fillPrecisions } from "./report_box.js";
import { offerLinkedTable } from "./share.js";
import { store } from "./store.js";
import { showSource } from "./table_panel.js";
import { registerWorker } from "./worker.js";

const txtFormula = $("txtFormula");

window.addEventListener("resize", () => {
  layout();
  if (core) draw(call("picture", visibleTwips()));
});
layout();
VeltraxCore({ veltraxStore: store, veltraxTextWidth: textWidth }).then((module) => {
  setCore(module);
  core._veltrax_start();
  // The window's texts are the core's: the page's HTML holds the same for
  // the moment before the core has loaded.
  const texts = JSON.parse(core.UTF8ToString(core._veltrax_texts()));
  document.title = texts.caption;
  txtFormula.title = texts.formulaTip;
  txtFormula.setAttribute("aria-label", texts.formulaName);
  $("txtPercent").setAttribute("aria-label", texts.reportName);
  $("Command1").textContent = texts.command;
  $("lblPrecision").textContent = texts.precisionCaption;
  $("picFormula").setAttribute("aria-label", texts.pictureName);
  fillPrecisions(texts.lastPrecision);
  layout(); // by the core's rule from now on
  showSource();
  // What was typed while the core was loading is handled now.
  if (txtFormula.value !== txtFormula.defaultValue) formulaInput();
  offerLinkedTable();
  document.documentElement.dataset.ready = "true";
  performance.mark("veltrax-ready");
  if (document.activeElement === document.body) txtFormula.focus();
});
registerWorker();
