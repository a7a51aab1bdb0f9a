// Writes random cases for the differential run of the native and the
// WebAssembly core: formulas as a user types and pastes them, compositions as
// a user writes them, at every precision and with both decimal separators.
// Usage: node cases.mjs COUNT SEED > cases.txt  (COUNT formulas and COUNT compositions)
const count = Number(process.argv[2] ?? 10000);
let seed = Number(process.argv[3] ?? 1) >>> 0;

// A small PRNG (mulberry32): the same cases on every machine.
const random = () => {
  seed = (seed + 0x6d2b79f5) >>> 0;
  let t = seed;
  t = Math.imul(t ^ (t >>> 15), t | 1);
  t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
  return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
};
const below = (n) => Math.floor(random() * n);
const pick = (list) => list[below(list.length)];

const symbols = ("H B C N O F P S K V Y I W U He Li Be Ne Na Mg Al Si Cl Ar Ca Sc Ti Cr Mn Fe Co Ni Cu Zn Ga Ge As " +
  "Se Br Kr Rb Sr Zr Nb Mo Tc Ru Rh Pd Ag Cd In Sn Sb Te Xe Cs Ba La Ce Pr Nd Pm Sm Eu Gd Tb Dy Ho Er Tm Yb Lu " +
  "Hf Ta Re Os Ir Pt Au Hg Tl Pb Bi Po At Rn Fr Ra Ac Th Pa Np Pu Am Cm Bk Cf Es Fm Md No Lr Rf Db Sg Bh Hs Mt").split(" ");
const oddSymbols = ["E", "A", "Xx", "co", "CO", "j", "Q", "Zz", "h", "L", "T"];
const stray = [" ", ".", ",", "-", "+", "Н", "é", "*", "[", "]", "\t", "·", "5", "0", "ж"];

const number = () => {
  switch (below(12)) {
    case 0: return String(below(1000000));
    case 1: return "9".repeat(1 + below(45));
    case 2: return "0" + below(10);
    case 3: return `${below(100)}.${below(100)}`;
    case 4: return `${below(100)},${below(1000)}`;
    default: return String(1 + below(12));
  }
};
const part = () => {
  const symbol = random() < 0.9 ? pick(symbols) : pick(oddSymbols);
  return symbol + (random() < 0.6 ? number() : "");
};
const formula = () => {
  let text = "";
  const parts = 1 + below(8);
  for (let i = 0; i < parts; ++i) {
    const roll = random();
    if (roll < 0.15) text += `(${part()}${part()})${random() < 0.85 ? number() : ""}`;
    else if (roll < 0.18) text += `(${part()}(${part()})2)3`;
    else if (roll < 0.2) text += pick([")", "(", ")2"]);
    else text += part();
    if (random() < 0.08) text += pick(stray);
  }
  return text;
};

const percent = () => {
  switch (below(14)) {
    case 0: return String(random() * 100);
    case 1: return `${below(100)},${below(100)}`;
    case 2: return `-${below(50)}`;
    case 3: return "1e39";
    case 4: return "9".repeat(40);
    case 5: return "";
    case 6: return "abc";
    case 7: return "0";
    default: return (random() * 100).toFixed(below(4));
  }
};
const compositionLine = () => {
  switch (below(20)) {
    case 0: return "# " + formula();
    case 1: return "";
    case 2: return "   ";
    case 3: return pick(symbols) + percent();
    default: {
      const symbol = random() < 0.85 ? pick(symbols) : pick(oddSymbols.concat(["Carbon", "Chlorine", "", "Ж"]));
      const separator = pick([" = ", "=", " - ", "-", " ", "  =  ", " — ", " – ", " −"]);
      return symbol + separator + percent() + (random() < 0.6 ? "%" : "");
    }
  }
};
const composition = () => {
  const lines = [];
  const n = 1 + below(8);
  for (let i = 0; i < n; ++i) lines.push(compositionLine());
  const end = pick(["\r\n", "\r\n", "\r", "\n", ""]);
  return lines.join(pick(["\r\n", "\r\n", "\r\n", "\n", "\r"])) + end;
};

const escape = (text) => text.replace(/\\/g, "\\\\").replace(/\r/g, "\\r").replace(/\n/g, "\\n");
const out = [];
for (let i = 0; i < count; ++i) {
  out.push(`F ${below(15)} ${pick([".", ","])} ${escape(formula())}`);
  out.push(`C ${below(15)} ${pick([".", ","])} ${escape(composition())}`);
}
process.stdout.write(out.join("\n") + "\n");
