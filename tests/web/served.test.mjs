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
    assert.equal(await page.locator("#confirmText").textContent(), "Доступна новая версия Veltrax\u00a0— обновить?");
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

describe("the teacher's table by link", () => {
  const checksum = (bytes) => {
    let hash = 0x811c9dc5;
    for (let i = 0; i < bytes.length; ++i) hash = Math.imul(hash ^ bytes.charCodeAt(i), 0x01000193) >>> 0;
    return hash.toString(36);
  };
  const tableInUse = (page) => page.locator("#tableInUse").textContent();
  const messages = async (page) => {
    await page.locator("#message[open]").waitFor();
    const text = await page.locator("#messageText").textContent();
    await page.keyboard.press("Enter");
    return text;
  };

  test("a ready table with five masses changed fits a small QR code and is taken after the question", async () => {
    const teacher = await browser.newContext({ locale: "ru-RU", viewport: { width: 1366, height: 768 } });
    const page = await open(teacher);
    await page.getByRole("button", { name: "Таблица элементов" }).click();
    await page.getByRole("button", { name: "Школьная…" }).click();
    await page.getByRole("button", { name: "Заменить" }).click();
    await page.waitForFunction(() => document.querySelector("#tableInUse").textContent === "Таблица: школьная");
    // Five masses one more, each in its own width: H 2, B 12, C 13, N 15, O 17.
    const editor = page.getByRole("textbox", { name: "Таблица элементов (NameMass.dat)" });
    const [symbols, masses, numbers] = (await editor.inputValue()).split("\n");
    await editor.fill([symbols, masses.replace(" 1 11 12 14 16 ", " 2 12 13 15 17 "), numbers].join("\n"));
    await page.getByRole("button", { name: "Закрыть" }).click();
    await page.getByRole("button", { name: "Таблица элементов" }).click();
    await page.getByRole("button", { name: "Поделиться таблицей" }).click();
    const link = await page.getByRole("textbox", { name: "Адрес" }).inputValue();
    assert.match(link, /^http:\/\/127\.0\.0\.1:\d+\/veltrax\/#table=school&edit=/);
    const size = Number((await page.locator("#codePicture svg").getAttribute("viewBox")).split(" ")[2]);
    assert.ok((size - 8 - 17) / 4 <= 10, `QR version ${(size - 25) / 4}`);
    const picture = join(mkdtempSync(join(tmpdir(), "veltrax-code-")), "code.png");
    await page.locator("#codePicture").screenshot({ path: picture });
    assert.equal(execFileSync("zbarimg", ["--raw", "-q", picture], { encoding: "utf8", stdio: ["ignore", "pipe", "ignore"] }).trim(), link);
    await page.keyboard.press("Escape");
    await page.keyboard.press("Escape");
    await formulaBox(page).fill("CH4");
    await formulaBox(page).press("Enter");
    const teachers = await firstReportLine(page);
    assert.equal(teachers, "# Масса - 21");

    // A pupil opens the link: told what it is, asked, and then computing as the teacher does.
    const pupil = await browser.newContext({ locale: "ru-RU" });
    const phone = await open(pupil, link);
    await phone.locator("#confirmRestore[open]").waitFor();
    const question = await phone.locator("#confirmText").textContent();
    assert.match(question, /^Взять таблицу элементов по ссылке учителя\? Это таблица «школьная» с правками\./);
    assert.match(question, /массами: H 2 вместо 1\.00794, B 12 вместо 10\.811, C 13 вместо 12\.011/);
    await phone.getByRole("button", { name: "Взять" }).click();
    await phone.waitForFunction(() => document.querySelector("#tableInUse").textContent === "Таблица: по ссылке учителя");
    assert.equal(phone.url(), site.url);
    await formulaBox(phone).fill("CH4");
    await formulaBox(phone).press("Enter");
    assert.equal(await firstReportLine(phone), teachers);

    // Changed on the way, or a table that the check refuses: told, never taken.
    for (const [fragment, says] of [
      [link.split("#")[1].replace("-2~", "-3~"), /^Ссылка на таблицу повреждена/],
      [`table=school&edit=4-_1&check=${checksum(readFileSync("tables/NameMass-school.dat", "latin1").replace(" H B  ", " H B "))}`,
        /^Таблица по ссылке не взята: /],
    ]) {
      const other = await browser.newContext({ locale: "ru-RU" });
      const opened = await open(other, `${site.url}#${fragment}`);
      assert.match(await messages(opened), says);
      assert.equal(await tableInUse(opened), "Таблица: встроенная");
      await other.close();
    }
    assert.deepEqual([...page.errors, ...phone.errors], []);
    await teacher.close();
    await pupil.close();
  });
});
