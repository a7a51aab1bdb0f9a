// The page in Debian's Chromium, headless: from navigation to a page that can
// analyse, cold and warm, and a key typed at the end of a 32,766-character
// formula, from the key to the frame that shows it.
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
