// The picture: what the core drew, as SVG in twips.
import { $ } from "./dom.js";
import { ascentOf, core } from "./core.js";

const picFormula = $("picFormula");
const svgNS = "http://www.w3.org/2000/svg";
// The description names every character of the formula: it is made once
// the typing pauses, not at every key.
let describing = 0;
export const describe = () => {
  clearTimeout(describing);
  picFormula.setAttribute("aria-description", JSON.parse(core.UTF8ToString(core._veltrax_description())));
  delete picFormula.dataset.describing;
};
let drawnText = "";
export const draw = (answer) => {
  clearTimeout(describing);
  picFormula.dataset.describing = "true";
  describing = setTimeout(describe, 250);
  // A key at the end of a long formula changes nothing in sight.
  const drawing = JSON.stringify(answer.drawing);
  if (drawing === drawnText) return;
  drawnText = drawing;
  const nodes = answer.drawing.map(([text, x, y, points]) => {
    const node = document.createElementNS(svgNS, "text");
    node.setAttribute("x", x);
    node.setAttribute("y", y + ascentOf(points));
    node.setAttribute("font-size", points * 20);
    node.setAttribute("data-top", y); // the core's position, for tests
    node.textContent = text;
    return node;
  });
  picFormula.replaceChildren(...nodes);
};
