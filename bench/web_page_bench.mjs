// The page in Debian's Chromium, headless: from navigation to a page that can
// analyse, cold and warm; a key typed at the end of a 32,766-character
// formula, from the key to the frame that shows it; a 10 MB paste into the
// report box and the button on the full box; a 1,000-line composition and a
// key in the table panel over a stored table of 5 MB.
// Usage: node web_page_bench.mjs PAGE NODE_MODULES
import { statSync, readFileSync } from "node:fs";
import { gzipSync } from "node:zlib";
import { createRequire } from "node:module";
import { join, resolve } from "node:path";
import { pathToFileURL } from "node:url";

const [pagePath, modules] = process.argv.slice(2);
const { chromium } = createRequire(join(resolve(modules), "x"))("playwright-core");
const url = pathToFileURL(resolve(pagePath)).href;
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const ms = (value) => `${value.toFixed(1)} ms`;

const browser = await chromium.launch({
  executablePath: "/usr/bin/chromium",
  args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
    "--disable-component-update", "--disable-sync"],
});
const page = await (await browser.newContext({ viewport: { width: 1366, height: 768 }, locale: "ru-RU" })).newPage();
const ready = async () => {
  await page.waitForSelector("html[data-ready=true]");
  return page.evaluate(() => performance.getEntriesByName("veltrax-ready")[0].startTime);
};
await page.goto(url);
const cold = await ready();
const warm = [];
for (let i = 0; i < 15; ++i) {
  await page.reload();
  warm.push(await ready());
}

// The key: from the keydown's time stamp to a task that runs once the frame
// after the input has been painted; the same on a plain input box of the
// same size and type, for the share that is the browser's own.
let formula = "";
while (formula.length < 32766) formula += "Al2(SO4)3(H2O)18";
formula = formula.slice(0, 32766);
const keyTimes = async () => {
  await page.$eval("#txtFormula", (box, text) => {
    box.focus();
    box.select();
    document.execCommand("insertText", false, text);
    window.keyTimes = [];
    box.addEventListener("keydown", (event) => {
      if (event.key !== "H") return;
      const start = event.timeStamp;
      requestAnimationFrame(() => {
        const channel = new MessageChannel();
        channel.port1.onmessage = () => window.keyTimes.push(performance.now() - start);
        channel.port2.postMessage(0);
      });
    });
  }, formula);
  for (let i = 0; i < 40; ++i) {
    await page.keyboard.press("End");
    await page.keyboard.press("H");
    await page.waitForTimeout(30);
    await page.keyboard.press("Backspace");
    await page.waitForTimeout(30);
  }
  return page.evaluate(() => window.keyTimes);
};
const keys = await keyTimes();

// In-page time from a paste into the report box, or a press of the button,
// to a task after the next painted frame.
const painted = (action, text) =>
  page.evaluate(([what, value]) => new Promise((done) => {
    const start = performance.now();
    if (what === "paste") {
      const box = document.getElementById("txtPercent");
      box.focus();
      box.select();
      const data = new DataTransfer();
      data.setData("text/plain", value);
      const event = new InputEvent("beforeinput", { inputType: "insertFromPaste", dataTransfer: data, cancelable: true, bubbles: true });
      if (box.dispatchEvent(event)) document.execCommand("insertText", false, value);
    } else {
      document.getElementById("Command1").click();
    }
    requestAnimationFrame(() => {
      const channel = new MessageChannel();
      channel.port1.onmessage = () => done(performance.now() - start);
      channel.port2.postMessage(0);
    });
  }), [action, text]);
const answerMessages = async () => {
  for (;;) {
    try {
      await page.locator("dialog[open]").waitFor({ timeout: 300 });
    } catch {
      return;
    }
    await page.keyboard.press("Enter");
  }
};
const pasteReport = "paste";
const pressButton = "button";
const tenMegabytes = "C = 40%\n".repeat(10 * 131072);
const pastes = [], buttons = [];
for (let i = 0; i < 5; ++i) {
  await page.$eval("#txtPercent", (box) => { box.value = ""; });
  pastes.push(await painted(pasteReport, tenMegabytes));
  await answerMessages();
  buttons.push(await painted(pressButton));
  await answerMessages();
}
const composition = Array.from({ length: 1000 }, (_, i) => ["C = 40%", "H = 6.7%", "O = 53.3%"][i % 3]).join("\n");
const compositionTimes = async () => {
  await page.$eval("#txtPercent", (box, text) => { box.value = text; }, composition);
  const times = [];
  for (let i = 0; i < 9; ++i) {
    times.push(await painted(pressButton));
    await answerMessages();
  }
  return times;
};
const overBuiltIn = await compositionTimes();
await page.evaluate(() => localStorage.setItem("veltrax/NameMass.dat", localStorage.getItem("veltrax/NameMass.dat") + " ".repeat(5e6)));
const overLarge = await compositionTimes();
// A key in the panel's second line, its share of the store that follows the
// typing included, and the same key in a plain text area with the same text,
// for the share that is the browser's own.
const panelKeys = async (open) => {
  await page.evaluate(open);
  return page.evaluate(async () => {
    // The time spent storing, which the panel does once the typing pauses.
    window.storeTime = 0;
    const setItem = Storage.prototype.setItem;
    Storage.prototype.setItem = function (...args) {
      const start = performance.now();
      setItem.apply(this, args);
      window.storeTime += performance.now() - start;
    };
    const box = document.getElementById("tableText");
    box.focus();
    box.setSelectionRange(box.value.indexOf("\n") + 2, box.value.indexOf("\n") + 2);
    const times = [];
    for (let i = 0; i < 20; ++i) {
      const start = performance.now();
      document.execCommand("insertText", false, i % 2 ? "1" : "0");
      await new Promise((done) => requestAnimationFrame(() => {
        const channel = new MessageChannel();
        channel.port1.onmessage = done;
        channel.port2.postMessage(0);
      }));
      times.push(performance.now() - start);
      await new Promise((done) => setTimeout(done, 30)); // typing: the next key within the pause
    }
    await new Promise((done) => setTimeout(done, 800)); // the pause, and the store
    // Each key's share of the store, added to each key.
    return times.map((time) => time + window.storeTime / times.length);
  });
};
const panel = await panelKeys(() => document.getElementById("cmdTable").click());
const storedLength = await page.evaluate(() => localStorage.getItem("veltrax/NameMass.dat").length);
const plainArea = await panelKeys(() => {
  const text = document.getElementById("tableText").value;
  document.getElementById("tablePanel").close();
  const area = document.createElement("textarea");
  area.id = "tableText";
  area.style.cssText = "position:fixed;left:0;top:0;width:600px;height:100px;white-space:pre";
  area.value = text;
  document.getElementById("tableText").remove();
  document.body.append(area);
});
const length = await page.$eval("#txtFormula", (box) => box.value.length);
const style = await page.$eval("#txtFormula", (box) => box.getAttribute("style") + `;font:${getComputedStyle(box).font}`);
await page.setContent(`<input id="txtFormula" style="position:absolute;${style}">`);
const plain = await keyTimes();
await browser.close();

const bytes = statSync(pagePath).size;
console.log(`page ${pagePath}: ${(bytes / 1024).toFixed(0)} KB, ${(gzipSync(readFileSync(pagePath), { level: 9 }).length / 1024).toFixed(0)} KB gzipped`);
console.log(`navigation to a page that can analyse: cold ${ms(cold)}, warm median ${ms(median(warm))} (max ${ms(Math.max(...warm))})`);
console.log(`key at the end of a ${length}-character formula to its painted frame: median ${ms(median(keys))}, max ${ms(Math.max(...keys))} (${keys.length} keys)`);
console.log(`the same key in a plain input box of the same size and type: median ${ms(median(plain))}, max ${ms(Math.max(...plain))}`);
console.log(`a 10 MB paste into the report box to the painted page: median ${ms(median(pastes))}, max ${ms(Math.max(...pastes))}`);
console.log(`the button on the full report box to the painted page: median ${ms(median(buttons))}, max ${ms(Math.max(...buttons))}`);
console.log(`a 1,000-line composition over the built-in table: median ${ms(median(overBuiltIn))}; over a stored table of 5 MB: median ${ms(median(overLarge))} (${(median(overLarge) / median(overBuiltIn)).toFixed(2)} ×)`);
console.log(`a key in the table panel over ${(storedLength / 1e6).toFixed(1)} MB to its painted frame, its share of the store included: median ${ms(median(panel))}, max ${ms(Math.max(...panel))}; in a plain text area with the same text: median ${ms(median(plainArea))} (${(median(panel) / median(plainArea)).toFixed(2)} ×)`);
