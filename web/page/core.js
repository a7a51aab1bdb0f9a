// The core, compiled to WebAssembly: how texts cross into it, and the text
// widths it asks of the browser.

const kPictureFont = 'Arial, "Liberation Sans", Helvetica, sans-serif';

// Measured at one twip a pixel, so widths come out in twips.
const measure = document.createElement("canvas").getContext("2d");
const fontAt = (points) => `${points * 20}px ${kPictureFont}`;
export const textWidth = (text, points) => {
  measure.font = fontAt(points);
  return measure.measureText(text).width;
};
const ascents = new Map();
export const ascentOf = (points) => {
  if (!ascents.has(points)) {
    measure.font = fontAt(points);
    ascents.set(points, measure.measureText("H").fontBoundingBoxAscent);
  }
  return ascents.get(points);
};

export let core = null;
export const setCore = (module) => {
  core = module;
};
// Texts cross into the core as UTF-8 bytes and their count: a NUL is a
// character like any other, and a lone surrogate becomes U+FFFD, as the
// desktop's text boxes give them.
const encoder = new TextEncoder();
const inText = (text) => {
  const bytes = encoder.encode(text);
  const pointer = core._malloc(bytes.length + 1);
  core.HEAPU8.set(bytes, pointer);
  return [pointer, bytes.length];
};
// One of the bindings' calls (web/bindings.cpp), with its texts put into
// the core's memory for the call: its answer, read from its JSON.
export const call = (name, ...args) => {
  const owned = [];
  const converted = args.flatMap((arg) => {
    if (typeof arg !== "string") return [arg];
    const [pointer, length] = inText(arg);
    owned.push(pointer);
    return [pointer, length];
  });
  try {
    return JSON.parse(core.UTF8ToString(core["_veltrax_" + name](...converted)));
  } finally {
    owned.forEach((pointer) => core._free(pointer));
  }
};
// Lines as the core sees them: joined by CR LF.
export const withCRLF = (text) => text.replace(/\r\n|\r|\n/g, "\r\n");
