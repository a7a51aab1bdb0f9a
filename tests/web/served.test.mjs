// The page for a web server, dist/web/, served from 127.0.0.1 as a school's
// server or a static host would serve it, in Debian's Chromium.
//   VELTRAX_WEB_FOLDER  the folder (default dist/web)
import { after, before, describe, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { cpSync, mkdtempSync, readFileSync, writeFileSync } from "node:fs";
import { createServer } from "node:http";
import { tmpdir } from "node:os";
import { basename, extname, join, resolve } from "node:path";
import { launchChromium, launchProfile } from "./chromium.mjs";

const folder = resolve(process.env.VELTRAX_WEB_FOLDER ?? "dist/web");

// A static server for a copy of the folder, under /veltrax/ as on a school's
// server; it serves only the files of the folder.
async function serve() {
  const root = mkdtempSync(join(tmpdir(), "veltrax-web-"));
  cpSync(folder, root, { recursive: true });
  const types = { ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".png": "image/png",
    ".webmanifest": "application/manifest+json" };
  const server = createServer((request, response) => {
    const path = new URL(request.url, "http://127.0.0.1").pathname;
    const file = path === "/veltrax/" ? "index.html" : basename(path);
    try {
      if (!path.startsWith("/veltrax/")) throw new Error("outside");
      const body = readFileSync(join(root, file));
      response.writeHead(200, { "content-type": types[extname(file)] ?? "application/octet-stream", "cache-control": "no-cache" });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((done) => server.listen(0, "127.0.0.1", done));
  return { root, server, url: `http://127.0.0.1:${server.address().port}/veltrax/` };
}

let browser;
let site;
before(async () => {
  browser = await launchChromium();
  site = await serve();
});
after(async () => {
  await browser?.close();
  site?.server.close();
});

async function open(context, url = site.url) {
  const page = await context.newPage();
  page.errors = [];
  page.on("pageerror", (error) => page.errors.push(error.message));
  page.on("console", (message) => message.type() === "error" && page.errors.push(message.text()));
  await page.goto(url);
  await page.waitForSelector("html[data-ready=true]");
  return page;
}
const formulaBox = (page) => page.getByRole("textbox", { name: "Формула", exact: true });
const firstReportLine = async (page) =>
  (await page.getByRole("textbox", { name: "Процентный состав" }).inputValue()).split("\n")[0];

describe("the page on a web server", () => {
  test("installable, and working offline after the first visit", async () => {
    const context = await launchProfile(mkdtempSync(join(tmpdir(), "veltrax-profile-")),
      { locale: "ru-RU", viewport: { width: 412, height: 860 } });
    const page = await open(context);
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
    const cdp = await context.newCDPSession(page);
    assert.deepEqual((await cdp.send("Page.getInstallabilityErrors")).installabilityErrors, []);
    const manifest = JSON.parse(readFileSync(join(folder, "manifest.webmanifest"), "utf8"));
    assert.equal(manifest.lang, "ru");
    assert.ok(manifest.icons.some((icon) => icon.purpose === "maskable"));
    // The school's network drops: the page still opens and computes.
    await context.setOffline(true);
    await page.reload();
    await page.waitForSelector("html[data-ready=true]");
    await formulaBox(page).fill("Ca(OH)2");
    await formulaBox(page).press("Enter");
    assert.equal(await firstReportLine(page), "# Масса - 74,01468");
    assert.deepEqual(page.errors, []);
    await context.close();
  });

  test("a newer page, once published, is offered once and taken only when the user agrees", async () => {
    const context = await browser.newContext({ locale: "ru-RU" });
    let page = await open(context);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
    // The teacher publishes a new version: another page and another worker.
    writeFileSync(join(site.root, "index.html"), readFileSync(join(site.root, "index.html"), "utf8").replace(
      "<title>Veltrax</title>", "<title>Veltrax</title><meta name=\"veltrax-test\" content=\"2\">"));
    writeFileSync(join(site.root, "sw.js"), `${readFileSync(join(site.root, "sw.js"), "utf8")}// 2\n`);
    await page.reload();
    await page.waitForSelector("html[data-ready=true]");
    const question = page.getByRole("dialog");
    await question.waitFor();
    assert.equal(await page.locator("#confirmText").textContent(), "Доступна новая версия Veltrax — обновить?");
    // Until then the page in the lesson stays the old one.
    assert.equal(await page.locator('meta[name="veltrax-test"]').count(), 0);
    await question.getByRole("button", { name: "Обновить" }).click();
    await page.waitForSelector('meta[name="veltrax-test"]', { state: "attached" });
    await page.waitForSelector("html[data-ready=true]");
    await page.waitForTimeout(300);
    assert.equal(await page.locator("dialog[open]").count(), 0, "offered once");
    assert.deepEqual(page.errors, []);
    await context.close();
  });
});

describe("the page's address for the class", () => {
  test("«Открыть на телефоне» shows the address as a QR code that a phone reads, and in letters", async () => {
    const context = await browser.newContext({ locale: "ru-RU", viewport: { width: 1366, height: 768 } });
    const page = await open(context);
    await page.getByRole("button", { name: "Открыть на телефоне" }).click();
    const dialog = page.getByRole("dialog", { name: "Открыть на телефоне" });
    await dialog.waitFor();
    assert.equal(await dialog.getByRole("textbox", { name: "Адрес" }).inputValue(), site.url);
    const picture = join(mkdtempSync(join(tmpdir(), "veltrax-code-")), "code.png");
    await page.locator("#codePicture").screenshot({ path: picture });
    assert.equal(execFileSync("zbarimg", ["--raw", "-q", picture], { encoding: "utf8", stdio: ["ignore", "pipe", "ignore"] }).trim(), site.url);
    const [, , width] = await page.locator("#codePicture").boundingBox().then((box) => [box.x, box.y, box.width]);
    assert.ok(width >= 400, `large enough for a projector: ${width}`);
    await page.keyboard.press("Escape");
    assert.equal(await page.locator("dialog[open]").count(), 0);
    assert.deepEqual(page.errors, []);
    await context.close();
  });
});
