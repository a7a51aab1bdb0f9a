// The page as a user meets it: dist/veltrax.html opened from disk in Debian's
// Chromium, headless, driven by keyboard and mouse.
//   VELTRAX_PAGE        the page (default dist/veltrax.html)
//   VELTRAX_SCREENSHOT  where to save the picture of the page after Ca(OH)2
import { after, before, describe, test } from "node:test";
import assert from "node:assert/strict";
import { mkdtempSync, readFileSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { launchChromium } from "./chromium.mjs";
import { join, resolve } from "node:path";
import { pathToFileURL } from "node:url";

const pageUrl = pathToFileURL(resolve(process.env.VELTRAX_PAGE ?? "dist/veltrax.html")).href;
const screenshot = process.env.VELTRAX_SCREENSHOT;

let browser;
before(async () => {
  browser = await launchChromium();
});
after(async () => browser?.close());

// A fresh profile for each test: its own storage, no table yet.
async function open({ locale = "ru-RU", viewport = { width: 800, height: 450 }, init, url = pageUrl } = {}) {
  const context = await browser.newContext({ locale, viewport, acceptDownloads: true });
  if (init) await context.addInitScript(init);
  const page = await context.newPage();
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  page.on("console", (message) => message.type() === "error" && errors.push(message.text())); // CSP refusals too
  page.on("request", (request) => {
    if (!request.url().startsWith("file:") && !request.url().startsWith("data:") && !request.url().startsWith("blob:"))
      errors.push(`network request: ${request.url()}`);
  });
  await page.goto(url);
  await page.waitForSelector("html[data-ready=true]");
  page.errors = errors;
  return page;
}
async function close(page) {
  assert.deepEqual(page.errors, []);
  assert.deepEqual(await page.context().cookies(), []);
  await page.context().close();
}

const formulaBox = (page) => page.getByRole("textbox", { name: "Формула", exact: true });
const reportBox = (page) => page.getByRole("textbox", { name: "Процентный состав" });
const button = (page) => page.getByRole("button", { name: "Вычислить формулу вещества из его процентного состава" });
const precisionList = (page) => page.getByRole("combobox", { name: "Кол-во знаков после запятой (точность):" });
const report = async (page) => (await reportBox(page).inputValue()).split("\n");
const caret = (page) => page.$eval("#txtFormula", (box) => [box.selectionStart, box.selectionEnd]);
// What the picture shows: each text with the core's position and size.
const drawing = (page) =>
  page.$$eval("#picFormula text", (nodes) =>
    nodes.map((node) => [node.textContent, Number(node.getAttribute("x")), Number(node.getAttribute("data-top")),
      Number(node.getAttribute("font-size"))]));

// Where a control stands: left, top, width and height in CSS pixels.
const box = (page, id) => page.$eval(`#${id}`, (element) => {
  const r = element.getBoundingClientRect();
  return [r.left, r.top, r.width, r.height];
});

// A formula that loses a letter and Enter: the notice beside the report
// stands clear of the report's first line and of every control below it.
async function noticeHidesNothing(page) {
  await formulaBox(page).fill("NН4");
  await formulaBox(page).press("Enter");
  assert.match((await report(page))[0], /^# Масса - 56[,.]0268$/);
  const [, top, , height] = await box(page, "formulaNotice");
  assert.ok(height > 0);
  for (const id of ["txtPercent", "Command1", "lblPrecision", "cmbPrecision", "cmdTable"])
    assert.ok(top + height <= (await box(page, id))[1] + 0.5, `the notice covers ${id}`);
}

// Messages still to be answered: the open dialog's caption, text and buttons.
async function takeMessages(page) {
  const seen = [];
  for (;;) {
    const dialog = page.getByRole("dialog");
    try {
      await dialog.waitFor({ timeout: 300 });
    } catch {
      return seen;
    }
    assert.equal(await page.locator("dialog[open]").count(), 1, "one message at a time");
    assert.equal(await page.locator("dialog[open] .caption").textContent(), "Veltrax");
    assert.deepEqual(await dialog.getByRole("button").allTextContents(), ["OK"]);
    seen.push(await page.locator("#messageText").textContent());
    await page.keyboard.press("Enter"); // the focus stands on OK
    await page.waitForTimeout(20);
  }
}

const kCaOH2 = {
  ru: ["# Масса - 74,01468", "# 40 * 1 + 15,9994 * 2 + 1,00794 * 2 = 74,01468 #", "",
    "Ca - 54%", "O - 43,2%", "H - 2,7%", "# 54% + 43,2% + 2,7% = 100% #"],
  en: ["# Масса - 74.01468", "# 40 * 1 + 15.9994 * 2 + 1.00794 * 2 = 74.01468 #", "",
    "Ca - 54%", "O - 43.2%", "H - 2.7%", "# 54% + 43.2% + 2.7% = 100% #"],
};

describe("the formula path", () => {
  for (const [locale, language] of [["ru-RU", "ru"], ["en-US", "en"]]) {
    test(`Ca(OH)2 and Enter gives the exact report, ${locale}`, async () => {
      const page = await open({ locale });
      assert.equal(await page.evaluate(() => document.activeElement.id), "txtFormula");
      // The texts the core gave the page once loaded are those its HTML shows before.
      const html = readFileSync(new URL(pageUrl), "utf8");
      for (const text of await page.evaluate(() => [document.title, txtFormula.title, txtFormula.defaultValue,
        ...["txtFormula", "txtPercent", "picFormula"].map((id) => document.getElementById(id).getAttribute("aria-label")),
        Command1.textContent, lblPrecision.textContent]))
        assert.ok(html.includes(text), text);
      await page.keyboard.type("Ca(OH)2");
      await page.keyboard.press("Enter");
      assert.deepEqual(await report(page), kCaOH2[language]);
      assert.deepEqual(await takeMessages(page), []);
      if (screenshot && language === "ru") await page.screenshot({ path: screenshot });
      await close(page);
    });
  }

  test("the precision applies at the next Enter, not before", async () => {
    const page = await open();
    assert.equal(await precisionList(page).inputValue(), "1");
    assert.deepEqual(await precisionList(page).locator("option").allTextContents(),
      Array.from({ length: 15 }, (_, i) => String(i)));
    await formulaBox(page).fill("Ca(OH)2");
    await formulaBox(page).press("Enter");
    await precisionList(page).selectOption("3");
    assert.deepEqual(await report(page), kCaOH2.ru);
    await formulaBox(page).press("Enter");
    assert.deepEqual((await report(page)).slice(3),
      ["Ca - 54,043%", "O - 43,233%", "H - 2,724%", "# 54,043% + 43,233% + 2,724% = 100% #"]);
    await close(page);
  });

  test("typing and pasting are cleaned as the desktop cleans them, caret and undo included", async () => {
    const page = await open();
    const box = formulaBox(page);
    // H typed in front of the untouched prompt leaves H alone.
    await box.press("Home");
    await page.keyboard.type("H");
    assert.equal(await box.inputValue(), "H");
    assert.deepEqual(await caret(page), [1, 1]);
    // A blank is removed at once and the caret goes to the end.
    await page.keyboard.type("2O");
    await box.press("ArrowLeft");
    await page.keyboard.type(" ");
    assert.equal(await box.inputValue(), "H2O");
    assert.deepEqual(await caret(page), [3, 3]);
    // An accepted character stays where it is typed, and so does the caret.
    await box.press("Home");
    await box.press("ArrowRight");
    await page.keyboard.type("C");
    assert.equal(await box.inputValue(), "HC2O");
    assert.deepEqual(await caret(page), [2, 2]);
    // A paste of H2 O into the empty box.
    await box.fill("");
    await pasteText(page, "H2 O");
    assert.equal(await box.inputValue(), "H2O");
    assert.deepEqual(await caret(page), [3, 3]);
    // A paste that cannot stay over a selected formula: one undo brings it back.
    await box.fill("Fe2(SO4)3");
    await box.selectText();
    await pasteText(page, "сульфат железа");
    assert.equal(await box.inputValue(), "");
    await page.keyboard.press("Control+z");
    assert.equal(await box.inputValue(), "Fe2(SO4)3");
    assert.deepEqual((await drawing(page)).map(([text]) => text).join(""), "Fe2(SO4)3");
    await close(page);
  });

  test("a huge paste is cleaned and cut to 32,767 characters with one message", async () => {
    const page = await open();
    const box = formulaBox(page);
    await box.fill("");
    await pasteText(page, "H ".repeat(20000));
    assert.equal(await box.inputValue(), "H".repeat(20000));
    await pasteText(page, "Fe2(SO4)3".repeat(120000)); // about 1 MB
    const kept = await box.inputValue();
    assert.equal(kept.length, 32767);
    assert.ok(kept.startsWith("H".repeat(20000) + "Fe2(SO4)3"));
    const messages = await takeMessages(page);
    assert.equal(messages.length, 1);
    assert.match(messages[0], /32767 знаков.*1067233/);
    await page.keyboard.press("Control+z");
    assert.equal(await box.inputValue(), "H".repeat(20000));
    await close(page);
  });

  test("messages come one at a time, in order, at most 20 of a kind", async () => {
    const page = await open();
    await formulaBox(page).fill("Xx".repeat(25) + "((H)2)2");
    await formulaBox(page).press("Enter");
    const messages = await takeMessages(page);
    assert.equal(messages.length, 21);
    assert.deepEqual(new Set(messages.slice(0, 20)), new Set([
      "Элемент Xx не найден в базе данных или не существует. Сведения по формуле могут быть не точны. " +
        "Проверьте написание формулы и регистры букв."]));
    assert.equal(messages[20], "Внимание! Вложенные скобки программой НЕ поддерживаются!!!");
    assert.equal(await page.evaluate(() => document.activeElement.id), "txtFormula");
    await close(page);
  });
});

// The clipboard of a headless browser is out of reach: a paste or a drop is
// sent as the browser sends one, a beforeinput and an input of its type.
async function pasteText(page, text, { into = "#txtFormula", inputType = "insertFromPaste" } = {}) {
  await page.$eval(into, (box, [pasted, type]) => {
    box.focus();
    const data = new DataTransfer();
    data.setData("text/plain", pasted);
    const event = new InputEvent("beforeinput", { inputType: type, dataTransfer: data, cancelable: true, bubbles: true });
    if (box.dispatchEvent(event)) document.execCommand("insertText", false, pasted);
  }, [text, inputType]);
}

describe("the composition path", () => {
  test("a composition and the button draw the formula with n-subscripts where the core puts them", async () => {
    const page = await open();
    await reportBox(page).fill("C = 40%\nH 6.7\nO - 53.3");
    await button(page).click();
    assert.deepEqual((await drawing(page)).map(([text, , top, size]) => [text, top, size]), [
      ["C", 0, 400], ["n", 250, 280], ["H", 0, 400], [" 2n", 250, 280], ["O", 0, 400], ["n", 250, 280]]);
    const xs = (await drawing(page)).map(([, x]) => x);
    assert.equal(xs[0], 0);
    for (let i = 1; i < xs.length; ++i) assert.ok(xs[i] > xs[i - 1], "each text right of the one before");
    await page.waitForSelector("#picFormula:not([data-describing])");
    assert.equal(await page.getByRole("img").getAttribute("aria-description"),
      "C нижний индекс n, H нижний индекс 2n, O нижний индекс n");
    await precisionList(page).selectOption("3");
    await button(page).click();
    assert.deepEqual((await drawing(page)).map(([text]) => text), ["C", "n", "H", " 1.996n", "O", "n"]);
    await close(page);
  });
});

describe("the element table", () => {
  const panelText = (page) => page.getByRole("textbox", { name: "Таблица элементов (NameMass.dat)" });

  test("an edit of H's mass is seen at the next Enter; save, load and restore", async () => {
    const page = await open();
    await page.getByRole("button", { name: "Таблица элементов" }).click();
    const editor = panelText(page);
    const lines = (await editor.inputValue()).split("\n");
    assert.equal(lines.length, 3);
    assert.ok(lines[0].startsWith(" H       B      C      N"));
    assert.ok(lines[1].startsWith(" 1.00794 10.811 12.011"));

    // The saved file is the desktop's built-in NameMass.dat, byte for byte.
    const saved = await download(page);
    assert.equal(saved.length, 1564);
    assert.equal(saved.at(-1), 0);
    assert.equal(saved.toString("latin1").split("\r\n").length, 3);

    await editor.fill([lines[0], lines[1].replace(" 1.00794", " 2      "), lines[2]].join("\n"));
    await page.getByRole("button", { name: "Закрыть" }).click();
    await formulaBox(page).fill("H2O");
    await formulaBox(page).press("Enter");
    assert.equal((await report(page))[0], "# Масса - 19,9994");

    // Load a user's file from disk.
    await page.getByRole("button", { name: "Таблица элементов" }).click();
    const chooser = page.waitForEvent("filechooser");
    await page.getByRole("button", { name: "Открыть файл…" }).click();
    await (await chooser).setFiles({ name: "NameMass.dat", mimeType: "text/plain", buffer: Buffer.from(" H  O \r\n 1  16 \r\n 1  8 ", "latin1") });
    await page.waitForFunction(() => document.querySelector("#tableText").value.startsWith(" H  O"));
    assert.equal((await download(page)).toString("latin1"), " H  O \r\n 1  16 \r\n 1  8 ");
    await page.getByRole("button", { name: "Закрыть" }).click();
    await formulaBox(page).press("Enter");
    assert.equal((await report(page))[0], "# Масса - 18");

    // Restoring the built-in copy asks first; "Отмена" keeps the user's table.
    await page.getByRole("button", { name: "Таблица элементов" }).click();
    await page.getByRole("button", { name: "Встроенная…" }).click();
    await page.getByRole("button", { name: "Отмена" }).click();
    assert.ok((await editor.inputValue()).startsWith(" H  O"));
    await page.getByRole("button", { name: "Встроенная…" }).click();
    await page.getByRole("button", { name: "Заменить" }).click();
    // The confirmation's close event comes in a task of its own.
    await page.waitForFunction(() => document.querySelector("#tableText").value.startsWith(" H       B"));
    assert.deepEqual(await download(page), saved);
    await page.getByRole("button", { name: "Закрыть" }).click();
    await formulaBox(page).press("Enter");
    assert.equal((await report(page))[0], "# Масса - 18,01528");

    // The table stays in the browser: a new page of the same profile reads it.
    const again = await page.context().newPage();
    await again.goto(pageUrl);
    await again.waitForSelector("html[data-ready=true]");
    assert.equal(await again.evaluate(() => localStorage.getItem("veltrax/NameMass.dat").length), 1564);
    await close(page);
  });

  async function download(page) {
    const started = page.waitForEvent("download");
    await page.getByRole("button", { name: "Сохранить как NameMass.dat" }).click();
    const file = await (await started).path();
    return readFileSync(file);
  }

  test("the school's table is one click and a confirmation away, and the page says which table is in force", async () => {
    const page = await open();
    const inUse = page.locator("#tableInUse");
    assert.equal(await inUse.textContent(), "Таблица: встроенная");
    await page.getByRole("button", { name: "Таблица элементов" }).click();
    await page.getByRole("button", { name: "Школьная…" }).click();
    assert.match(await page.locator("#confirmText").textContent(), /таблицей «школьная»/);
    await page.getByRole("button", { name: "Заменить" }).click();
    await page.waitForFunction(() => document.querySelector("#tableStatus").textContent.startsWith("Взята"));
    assert.equal((await download(page)).toString("latin1"), readFileSync(new URL("../../tables/NameMass-school.dat", import.meta.url), "latin1"));
    await page.getByRole("button", { name: "Закрыть" }).click();
    assert.equal(await inUse.textContent(), "Таблица: школьная");
    await formulaBox(page).fill("HCl");
    await formulaBox(page).press("Enter");
    assert.equal((await report(page))[0], "# Масса - 36,5");
    // An edit is said too.
    const editor = await page.getByRole("button", { name: "Таблица элементов" }).click().then(() => panelText(page));
    await editor.press("End");
    await page.keyboard.type(" ");
    await page.getByRole("button", { name: "Закрыть" }).click();
    assert.equal(await inUse.textContent(), "Таблица: школьная, изменена");
    // What storage holds, however it came there, decides the name: a note
    // without its table, a table without a note, a note of other bytes.
    const school = readFileSync(new URL("../../tables/NameMass-school.dat", import.meta.url), "latin1");
    for (const [table, note, says] of [
      [null, { kind: "file", name: "six.dat" }, "Таблица: встроенная"],
      [school, null, "Таблица: школьная"],
      [school.replace(" 35.5 ", " 35.4 "), null, "Таблица: своя"],
      [school.replace(" 35.5 ", " 35.4 "), { kind: "file", name: "six.dat", check: "0" }, "Таблица: своя"],
    ]) {
      await page.evaluate(([bytes, source]) => {
        localStorage.clear();
        if (bytes !== null) localStorage.setItem("veltrax/NameMass.dat", bytes);
        if (source !== null) localStorage.setItem("veltrax/NameMass.dat#source", JSON.stringify(source));
      }, [table, note]);
      await page.reload();
      await page.waitForSelector("html[data-ready=true]");
      assert.equal(await inUse.textContent(), says);
    }
    await close(page);
  });

  test("a loaded table is checked at once: LF line ends converted and said, shifted columns named", async () => {
    const page = await open();
    await page.getByRole("button", { name: "Таблица элементов" }).click();
    const load = async (name, text) => {
      const chooser = page.waitForEvent("filechooser");
      await page.getByRole("button", { name: "Открыть файл…" }).click();
      await (await chooser).setFiles({ name, mimeType: "text/plain", buffer: Buffer.from(text, "latin1") });
      await page.waitForFunction((file) => document.querySelector("#tableStatus").textContent.includes(file), name);
      return page.locator("#tableStatus").textContent();
    };
    assert.match(await load("linux.dat", " H  O \n 2  16 \n 1  8 "), /Концы строк LF в нём заменены на CR LF/);
    assert.equal((await download(page)).toString("latin1"), " H  O \r\n 2  16 \r\n 1  8 ");
    assert.equal(await page.locator("#tableInUse").textContent(), "Таблица: из файла «linux.dat»");
    assert.match(await load("shifted.dat", " H  O \r\n 1  16 \r\n 1 8 "),
      /Таблица из файла «shifted\.dat»: в строке 3 \(порядковые номера\) текст «8» начинается в позиции 4/);
    assert.match(await load("twice.dat", " H  O \r\r\n 1  16 \r\r\n 1  8 "), /кончаются знаками CR CR LF/);
    await page.getByRole("button", { name: "Закрыть" }).click();
    await formulaBox(page).fill("H2O");
    await formulaBox(page).press("Enter"); // the message names the file in force
    assert.match((await takeMessages(page)).join(), /^Таблица элементов «twice\.dat»: строки файла кончаются знаками CR CR LF/);
    await page.getByRole("button", { name: "Таблица элементов" }).click();
    assert.match(await load("utf8.dat", " H  \xD0\x9D \r\n 1  1 \r\n 1  1 "), /в кодировке UTF-8.+знак «Н»/);
    // An empty table: the built-in one serves, and the first Enter says so once.
    assert.match(await load("empty.dat", ""), /файл пуст \(0 байт\), и расчёты ведутся по встроенной таблице/);
    await page.getByRole("button", { name: "Закрыть" }).click();
    for (const told of [1, 0]) {
      await formulaBox(page).fill("H2O");
      await formulaBox(page).press("Enter");
      assert.equal((await report(page))[0], "# Масса - 18,01528");
      assert.equal((await takeMessages(page)).filter((text) => /пуст \(0 байт\)/.test(text)).length, told);
    }
    assert.equal(await page.locator("#tableInUse").textContent(), "Таблица: встроенная (файл пуст)");
    // More than the program reads is refused before anything is stored.
    await page.getByRole("button", { name: "Таблица элементов" }).click();
    assert.match(await load("six.dat", ` H  O \r\n 1  16 \r\n 1  8${" ".repeat(98300)}7`),
      /^Файл «six\.dat» не взят: в нём больше 98305 байт, которые читает программа\. Таблица не изменилась\.$/);
    assert.equal(await page.evaluate(() => localStorage.getItem("veltrax/NameMass.dat")), "");
    assert.equal(await page.locator("#tableInUse").textContent(), "Таблица: встроенная (файл пуст)");
    await close(page);
  });

  test("without storage the built-in table serves, and the user is told once", async () => {
    const page = await open({
      init: () => Object.defineProperty(window, "localStorage", {
        get() { throw new DOMException("The operation is insecure.", "SecurityError"); },
      }),
    });
    await formulaBox(page).fill("H2O");
    await formulaBox(page).press("Enter");
    assert.equal((await report(page))[0], "# Масса - 18,01528");
    const messages = await takeMessages(page);
    assert.equal(messages.length, 1);
    assert.match(messages[0], /Хранилище браузера недоступно/);
    // Edits in the panel still hold while the page is open.
    await page.getByRole("button", { name: "Таблица элементов" }).click();
    const editor = panelText(page);
    const lines = (await editor.inputValue()).split("\n");
    await editor.fill([lines[0], lines[1].replace(" 1.00794", " 2      "), lines[2]].join("\n"));
    await page.getByRole("button", { name: "Закрыть" }).click();
    await formulaBox(page).press("Enter");
    assert.equal((await report(page))[0], "# Масса - 19,9994");
    assert.deepEqual(await takeMessages(page), []);
    await close(page);
  });
});

describe("whatever is pasted, stored or opened beside it", () => {
  const messageCount = (page) => takeMessages(page).then((messages) => messages.length);

  test("the report box keeps 524,288 characters of a paste or a drop, says so once, and the button answers", async () => {
    const page = await open();
    const megabyte = "C = 40%\n".repeat(131072);
    for (const inputType of ["insertFromPaste", "insertFromDrop"]) {
      await reportBox(page).fill("H = 6.7%\n");
      await pasteText(page, megabyte, { into: "#txtPercent", inputType });
      const kept = await reportBox(page).inputValue();
      assert.equal(kept.length, 524288);
      assert.ok(kept.startsWith("H = 6.7%\nC = 40%\n"));
      assert.deepEqual(await takeMessages(page), ["В поле процентного состава помещается не более 524288 знаков. " +
        `Отброшено знаков в конце вставленного текста: ${megabyte.length - 524288 + 9}.`]);
    }
    // Typing into the full box is refused with one message, not one a key.
    await reportBox(page).press("End");
    await page.keyboard.type("xyz");
    assert.equal((await reportBox(page).inputValue()).length, 524288);
    assert.equal(await messageCount(page), 1);
    await button(page).click();
    assert.match((await takeMessages(page)).join(), /^Сумма всех процентов составляет 2621407%/);
    await close(page);
  });

  // Text as a pupil's devices deliver it, through Chromium's own input: a
  // real copy and paste, keys of the Russian layout, a phone keyboard's
  // composition and its commit, and a commit alone (dictation, autocorrect).
  const arrivals = {
    paste: async (page, text) => {
      await reportBox(page).fill(text);
      await reportBox(page).press("Control+A");
      await reportBox(page).press("Control+C");
      await formulaBox(page).focus();
      await page.keyboard.press("Control+V");
    },
    keys: async (page, text, cdp) => {
      for (const key of text) {
        await cdp.send("Input.dispatchKeyEvent", { type: "keyDown", key, text: key });
        await cdp.send("Input.dispatchKeyEvent", { type: "keyUp", key });
      }
    },
    composition: async (page, text, cdp) => {
      for (let typed = 1; typed <= text.length; ++typed)
        await cdp.send("Input.imeSetComposition", { text: text.slice(0, typed), selectionStart: typed, selectionEnd: typed });
      await cdp.send("Input.insertText", { text });
    },
    commit: (page, text, cdp) => cdp.send("Input.insertText", { text }),
  };
  const cleanings = [
    ["(NН4)2SО4", "(N4)2S4", "В формуле убраны русские буквы «Н», «О»: посчитано для (N4)2S4.", "# Масса - 240,3176"],
    ["C1.5H3", "C15H3", "В формуле убран знак «.» внутри числа: посчитано для C15H3.", "# Масса - 183,1888"],
    ["CuSO4·5H2O", "CuSO45H2O", "В формуле убран знак «·»: посчитано для CuSO45H2O.", "# Масса - 833,5943"],
    ["H2 O", "H2O", "", "# Масса - 18,01528"],
  ];
  test("however the text arrives, the box keeps the cleaned text and the notice lasts until Enter tells it", async () => {
    const page = await open();
    const cdp = await page.context().newCDPSession(page);
    const notice = page.locator("#formulaNotice"); // the status line under the picture
    await formulaBox(page).press("Home");
    await page.keyboard.type("H"); // the prompt's stripping says nothing
    assert.equal(await notice.isHidden(), true);
    assert.equal(await notice.getAttribute("aria-live"), "polite");
    for (const [way, arrive] of Object.entries(arrivals)) {
      for (const [text, kept, atEnter, molarMass] of cleanings) {
        const what = `${text}, ${way}`;
        await formulaBox(page).press("Control+A");
        await formulaBox(page).press("Delete");
        await arrive(page, text, cdp);
        assert.equal(await formulaBox(page).inputValue(), kept, what);
        assert.equal(await notice.isHidden(), atEnter === "", what);
        await formulaBox(page).press("Enter");
        assert.equal((await report(page))[0], molarMass, what);
        assert.equal(await notice.isHidden() ? "" : await notice.textContent(), atEnter, what);
        // It hides no line of the report and no control.
        const [, top, , height] = await box(page, "formulaNotice");
        for (const id of ["txtPercent", "Command1", "lblPrecision"])
          assert.ok(atEnter === "" || top + height <= (await box(page, id))[1], `${what}: ${id}`);
        assert.deepEqual(await takeMessages(page), [], what);
      }
    }
    await page.keyboard.type("H");
    assert.equal(await notice.isHidden(), true);
    await close(page);
  });

  test("a NUL or a lone surrogate reaches the core as the desktop's text boxes give it", async () => {
    const page = await open();
    await formulaBox(page).fill("");
    await pasteText(page, "H2\0O");
    assert.equal(await formulaBox(page).inputValue(), "H2O");
    await formulaBox(page).press("Enter");
    assert.equal((await report(page))[0], "# Масса - 18,01528");
    await page.$eval("#txtFormula", (box) => {
      box.value = "Hx\ud83dO";
      box.dispatchEvent(new Event("input"));
    });
    assert.equal(await formulaBox(page).inputValue(), "HxO");
    // In a composition a NUL is a character of its line, and the lines after it count.
    await reportBox(page).fill("C = 40%\0\nH = 6.7\nO\ud800 = 53.3");
    await button(page).click();
    assert.deepEqual(await takeMessages(page), ["Элемент O\ufffd не найден в базе данных или не существует. Формула, " +
      "выведенная по процентному составу, может быть неверна. Проверьте написание процентного состава и регистры букв."]);
    assert.deepEqual((await drawing(page)).map(([text]) => text), ["C", "n", "H", " 2n", "O\ufffd", " 16n"]);
    await close(page);
  });

  test("a stored table of megabytes is read once an analysis, and the panel edits it", async () => {
    const page = await open({
      init: () => {
        window.tableReads = 0;
        const getItem = Storage.prototype.getItem;
        Storage.prototype.getItem = function (key) {
          if (key === "veltrax/NameMass.dat") ++window.tableReads;
          return getItem.call(this, key);
        };
      },
    });
    // The built-in table with 5 MB of blanks after it, which the table's rules allow.
    await formulaBox(page).fill("H2O");
    await formulaBox(page).press("Enter");
    await page.evaluate(() => localStorage.setItem("veltrax/NameMass.dat",
      localStorage.getItem("veltrax/NameMass.dat") + " ".repeat(5e6)));
    await reportBox(page).fill(Array.from({ length: 1000 }, (_, i) => ["C = 40%", "H = 6.7%", "O = 53.3%"][i % 3]).join("\n"));
    const reads = await page.evaluate(() => window.tableReads);
    await button(page).click();
    assert.equal(await page.evaluate(() => window.tableReads) - reads, 1);
    assert.match((await takeMessages(page)).join(), /^Сумма всех процентов составляет 33340%/);
    assert.deepEqual((await drawing(page)).slice(0, 6).map(([text]) => text), ["C", "n", "H", " 2n", "O", "n"]);
    // A key in the panel is stored, all 5 MB of it.
    await page.getByRole("button", { name: "Таблица элементов" }).click();
    await page.keyboard.press("Control+Home");
    await page.keyboard.press("Delete");
    await page.waitForFunction(() => document.querySelector("#tableStatus").textContent.startsWith("Правки сохранены"));
    assert.equal(await page.evaluate(() => localStorage.getItem("veltrax/NameMass.dat").length), 1564 + 5e6 - 1);
    await close(page);
  });

  const panelText = (page) => page.getByRole("textbox", { name: "Таблица элементов (NameMass.dat)" });
  const openPanel = async (page) => {
    await page.getByRole("button", { name: "Таблица элементов" }).click();
    return panelText(page);
  };
  const status = (page) => page.locator("#tableStatus").textContent();

  test("two tabs on one storage: each panel shows the other's edits, and crossing edits are never lost silently", async () => {
    const first = await open();
    const second = await first.context().newPage();
    await second.goto(pageUrl);
    await second.waitForSelector("html[data-ready=true]");
    const [a, b] = [await openPanel(first), await openPanel(second)];
    await a.fill("one");
    await second.waitForFunction(() => document.querySelector("#tableText").value === "one");
    assert.match(await status(second), /изменили в другой вкладке/);
    await b.fill("two");
    await first.waitForFunction(() => document.querySelector("#tableText").value === "two");
    // An edit made on a text that another tab has meanwhile replaced, before
    // its storage event has arrived.
    await second.evaluate(() => {
      localStorage.setItem("veltrax/NameMass.dat", "three");
      localStorage.setItem("veltrax/NameMass.dat#version", "elsewhere");
    });
    await b.press("End");
    await second.keyboard.type("!");
    await second.getByRole("button", { name: "Оставить мою" }).waitFor();
    assert.match(await status(second), /ваши правки не сохранены/);
    assert.equal(await first.locator("#tableInUse").textContent(), "Таблица: своя"); // not what its note said
    // Escape over the standing conflict asks before the edit goes.
    await b.press("Escape");
    await second.locator("#confirmRestore[open]").waitFor();
    assert.match(await second.locator("#confirmText").textContent(), /^Закрыть таблицу\? Ваши правки не сохранены/);
    await second.getByRole("button", { name: "Вернуться" }).click();
    assert.equal(await second.locator("#tablePanel[open]").count(), 1);
    assert.equal(await second.evaluate(() => localStorage.getItem("veltrax/NameMass.dat")), "three");
    await second.getByRole("button", { name: "Оставить мою" }).click();
    assert.equal(await second.evaluate(() => localStorage.getItem("veltrax/NameMass.dat")), "two!\0"); // the built-in's NUL kept
    await first.waitForFunction(() => document.querySelector("#tableText").value === "two!");
    // The other choice takes the stored table into the panel.
    await first.evaluate(() => {
      localStorage.setItem("veltrax/NameMass.dat", "four");
      localStorage.setItem("veltrax/NameMass.dat#version", "elsewhere again");
    });
    await a.press("End");
    await first.keyboard.type("?");
    await first.getByRole("button", { name: "Взять сохранённую" }).click();
    assert.equal(await a.inputValue(), "four");
    // An edit stored here, then written over by one made on an older table
    // before this one reached it: offered back, not lost.
    await a.fill("five");
    await first.waitForFunction(() => document.querySelector("#tableStatus").textContent.startsWith("Правки сохранены"));
    await second.evaluate(() => {
      localStorage.setItem("veltrax/NameMass.dat", "six");
      localStorage.setItem("veltrax/NameMass.dat#version", "crossing<an older one");
    });
    await first.getByRole("button", { name: "Оставить мою" }).waitFor();
    assert.equal(await a.inputValue(), "five");
    assert.match(await status(first), /^Правку, сохранённую здесь, заменила одновременная правка/);
    await first.getByRole("button", { name: "Оставить мою" }).click();
    assert.equal(await first.evaluate(() => localStorage.getItem("veltrax/NameMass.dat")), "five");
    await second.close();
    await close(first);
  });

  test("a full storage: the saved table is still used after a reload, and a refused save is said", async () => {
    const page = await open();
    const editor = await openPanel(page);
    const lines = (await editor.inputValue()).split("\n");
    await editor.fill([lines[0], lines[1].replace(" 1.00794", " 2      "), lines[2]].join("\n"));
    await page.waitForFunction(() => document.querySelector("#tableStatus").textContent.startsWith("Правки сохранены"));
    // Another local page fills the origin's storage to the last byte it takes.
    await page.evaluate(() => {
      for (let size = 1 << 22, i = 0; size > 0; ) {
        try {
          localStorage.setItem(`filler/${i++}`, "x".repeat(size));
        } catch {
          size >>= 1;
        }
      }
    });
    await page.reload();
    await page.waitForSelector("html[data-ready=true]");
    await formulaBox(page).fill("H2O");
    await formulaBox(page).press("Enter");
    assert.equal((await report(page))[0], "# Масса - 19,9994");
    assert.deepEqual(await takeMessages(page), []);
    // An edit that cannot be stored holds while the page is open, and is said.
    const again = await openPanel(page);
    await again.fill((await again.inputValue()).replace(" 2      ", " 3      ") + " ".repeat(64));
    await page.waitForFunction(() => document.querySelector("#tableStatus").textContent.startsWith("Браузер не сохранил"));
    await page.getByRole("button", { name: "Закрыть" }).click();
    await formulaBox(page).press("Enter");
    assert.equal((await report(page))[0], "# Масса - 21,9994");
    const messages = await takeMessages(page);
    assert.equal(messages.length, 1);
    assert.match(messages[0], /^Браузер не сохранил правки таблицы элементов/);
    await close(page);
  });

  test("the page's security policy allows no eval, and the page works under it", async () => {
    // The page with one more script of its own at its end, which tries eval.
    const probe = join(mkdtempSync(join(tmpdir(), "veltrax-")), "veltrax.html");
    writeFileSync(probe, readFileSync(new URL(pageUrl)).toString().replace(/<\/body>\s*<\/html>\s*$/,
      '<script>try { eval("1"); window.evalAnswer = "allowed"; } catch { window.evalAnswer = "refused"; }</script></body></html>'));
    const page = await open({ url: pathToFileURL(probe).href });
    const policy = await page.$eval('meta[http-equiv="Content-Security-Policy"]', (meta) => meta.content);
    assert.match(policy, /default-src 'none'/);
    assert.doesNotMatch(policy, /'unsafe-eval'/);
    assert.equal(await page.evaluate(() => window.evalAnswer), "refused");
    await formulaBox(page).fill("Ca(OH)2");
    await formulaBox(page).press("Enter");
    assert.deepEqual(await report(page), kCaOH2.ru);
    page.errors = page.errors.filter((error) => !/unsafe-eval/.test(error)); // the refusal asked for
    await close(page); // every other test ran under the same policy, with no refusal logged
  });
});

describe("layout and keyboard", () => {
  const fontPixels = (page, selector) => page.$eval(selector, (element) => parseFloat(getComputedStyle(element).fontSize));

  for (const viewport of [{ width: 1366, height: 768 }, { width: 1920, height: 1080 }]) {
    test(`the window's layout at ${viewport.width} × ${viewport.height}`, async () => {
      const page = await open({ viewport });
      const k = await page.evaluate(() => parseFloat(getComputedStyle(document.documentElement).getPropertyValue("--k")));
      const W = viewport.width / k;
      const H = viewport.height / k;
      const near = (actual, expected, what) => assert.ok(Math.abs(actual - expected) < 1.5, `${what}: ${actual} ≠ ${expected}`);
      const expected = {
        txtFormula: [0, 0, W, 375], picFormula: [0, 480, W, 735], txtPercent: [1200, 1320, W - 2400, H - 1320],
        Command1: [0, 1320, 1095, 1335], lblPrecision: [W - 1150, 1320, 1215, 615], cmbPrecision: [W - 1050, 2040, 975, 315],
      };
      for (const [id, twips] of Object.entries(expected)) {
        const actual = await box(page, id);
        twips.forEach((value, i) => near(actual[i], value * k, `${id}[${i}]`));
      }
      // Every control at least 24 pixels tall; larger type on a big screen.
      assert.ok((await box(page, "cmbPrecision"))[3] >= 24 - 0.01);
      if (viewport.width >= 1920) assert.ok(k >= 1.9 / 15);
      await noticeHidesNothing(page);
      const [, top, , height] = await box(page, "txtPercent");
      near(top + height, H * k, "the report box's bottom with a notice");
      // Messages and the table panel grow with the page.
      await formulaBox(page).fill("Xx");
      await formulaBox(page).press("Enter");
      await page.locator("#message[open]").waitFor();
      assert.ok(await fontPixels(page, "#messageText") >= 225 * k - 0.01);
      await page.keyboard.press("Escape"); // closes it at the first press
      assert.equal(await page.locator("dialog[open]").count(), 0);
      await page.getByRole("button", { name: "Таблица элементов" }).click();
      assert.ok(await fontPixels(page, "#tableStatus") >= 225 * k - 0.01);
      await close(page);
    });
  }

  // The rows that the widget test reads too, at the page's smallest scale,
  // where a size in twips is a whole number of CSS pixels.
  test("the window's layout follows one size after another, as the desktop window's does", async () => {
    const rows = JSON.parse(readFileSync(new URL("../window_layout.json", import.meta.url), "utf8")).rows;
    const k = 8 / 7 / 15;
    const pixels = ([width, height]) => ({ width: Math.round(width * k), height: Math.round(height * k) });
    for (const row of rows.filter((row) => row.browser)) {
      const page = await open({ viewport: pixels(row.sizes[0]) });
      for (const size of row.sizes.slice(1)) {
        await page.setViewportSize(pixels(size));
        await page.waitForFunction((width) => document.getElementById("txtFormula").getBoundingClientRect().width === width,
          pixels(size).width);
      }
      const near = (actual, expected, what) =>
        assert.ok(Math.abs(actual - expected * k) < 0.5, `${row.what}, ${what}: ${actual} ≠ ${expected * k}`);
      (await box(page, "txtPercent")).forEach((value, i) => near(value, row.report[i], `the report box [${i}]`));
      near((await box(page, "lblPrecision"))[0], row.label, "the label");
      near((await box(page, "cmbPrecision"))[0], row.list, "the list");
      await close(page);
    }
  });

  test("a phone gets the same controls one under the other, 44-pixel targets and 16-pixel type", async () => {
    const page = await open({ viewport: { width: 360, height: 640 } });
    const ids = ["picFormula", "txtFormula", "txtPercent", "Command1", "cmdTable", "cmbPrecision"];
    let bottom = 0;
    for (const id of ids) {
      const [left, top, width, height] = await box(page, id);
      assert.ok(top >= bottom - 0.5, `${id} stands under the one before`);
      bottom = top + height;
      assert.ok(left >= 0 && left + width <= 360 + 0.5, `${id} fits the width`);
      if (id !== "picFormula" && id !== "txtPercent") assert.ok(height >= 44 && width >= 44, `${id}: ${width} × ${height}`);
    }
    for (const selector of ["#txtFormula", "#txtPercent", "#Command1", "#cmbPrecision", "#lblPrecision"])
      assert.ok(await fontPixels(page, selector) >= 16, selector);
    await formulaBox(page).fill("Ca(OH)2");
    await formulaBox(page).press("Enter");
    assert.deepEqual(await report(page), kCaOH2.ru);
    assert.deepEqual((await drawing(page)).map(([text]) => text).join(""), "Ca(OH)2");
    await noticeHidesNothing(page);
    // Messages fit the phone.
    await formulaBox(page).fill("Xx");
    await formulaBox(page).press("Enter");
    const [, , messageWidth] = await box(page, "message");
    assert.ok(messageWidth <= 360);
    await close(page);
  });

  test("browser zoom is honoured: 200 % doubles every text, at 400 % every control can be reached", async () => {
    const page = await open({ viewport: { width: 1366, height: 768 } });
    const session = await page.context().newCDPSession(page);
    const physical = async () => (await fontPixels(page, "#txtPercent")) * (await page.evaluate(() => devicePixelRatio));
    const atHundred = await physical();
    // Zooming the page in: the device pixels per CSS pixel grow, and the CSS viewport shrinks.
    const zoomTo = async (factor) => {
      await session.send("Emulation.setDeviceMetricsOverride",
        { width: Math.round(1366 / factor), height: Math.round(768 / factor), deviceScaleFactor: factor, mobile: false });
      await page.waitForFunction((f) => devicePixelRatio === f, factor);
      await page.evaluate(() => new Promise(requestAnimationFrame));
    };
    await zoomTo(2);
    assert.ok(Math.abs(await physical() - 2 * atHundred) < 1, `${await physical()} against ${atHundred}`);
    await zoomTo(4);
    await noticeHidesNothing(page);
    // A message opens at its top, its first line in sight, and its OK is in reach.
    await formulaBox(page).fill("Xx");
    await formulaBox(page).press("Enter");
    await page.locator("#message[open]").waitFor();
    const [, textTop] = await box(page, "messageText");
    assert.ok(textTop >= 0 && textTop < 192, `the message's first line at ${textTop}`);
    await page.locator("#messageOK").scrollIntoViewIfNeeded();
    const [, okTop, , okHeight] = await box(page, "messageOK");
    assert.ok(okTop >= 0 && okTop + okHeight <= 192 + 1, `OK at ${okTop}`);
    await takeMessages(page);
    for (const id of ["txtFormula", "txtPercent", "Command1", "cmdTable", "cmbPrecision"]) {
      await page.locator(`#${id}`).scrollIntoViewIfNeeded();
      const [left, top, width, height] = await box(page, id);
      assert.ok(left >= 0 && top >= 0 && left + width <= 342 && top + height <= 192 + 2, `${id} is out of reach: ${[left, top, width, height]}`);
    }
    await page.locator("#cmdTable").click();
    assert.equal(await page.locator("#tablePanel[open]").count(), 1);
    // The panel opens at its top, and its last button is reached by scrolling it.
    assert.ok((await box(page, "tableCaption"))[1] >= 0);
    await page.locator("#tableClose").scrollIntoViewIfNeeded();
    const [, closeTop, , closeHeight] = await box(page, "tableClose");
    assert.ok(closeTop >= 0 && closeTop + closeHeight <= 192 + 1, `Закрыть at ${closeTop}`);
    await close(page);
  });

  test("a screen reader hears the result of Enter and of the button", async () => {
    const page = await open();
    const live = page.locator("#resultLive");
    assert.equal(await live.getAttribute("aria-live"), "polite");
    await formulaBox(page).fill("Ca(OH)2");
    await formulaBox(page).press("Enter");
    assert.equal(await live.textContent(), "Молярная масса 74,01468");
    await reportBox(page).fill("C = 40%\nH 6.7\nO - 53.3");
    await button(page).click();
    assert.equal(await live.textContent(), "C нижний индекс n, H нижний индекс 2n, O нижний индекс n");
    await close(page);
  });

  test("everything is reachable by keyboard, in the window's tab order", async () => {
    const page = await open();
    const focused = () => page.evaluate(() => document.activeElement.id);
    assert.equal(await focused(), "txtFormula");
    await page.keyboard.press("Shift+Tab");
    assert.equal(await focused(), "picFormula");
    const order = [];
    for (let i = 0; i < 6; ++i) {
      await page.keyboard.press("Tab");
      order.push(await focused());
    }
    assert.deepEqual(order, ["txtFormula", "txtPercent", "Command1", "cmdTable", "cmbPrecision", "cmdPhone"]);

    // A composition typed, the button pressed with Enter, its message answered with Enter.
    await page.getByRole("img").focus();
    await page.keyboard.press("Tab");
    await page.keyboard.press("Tab");
    await page.keyboard.type("C = 40\nH = 6.7\nO = 50");
    await page.keyboard.press("Tab");
    assert.equal(await focused(), "Command1");
    await page.keyboard.press("Enter");
    const messages = await takeMessages(page);
    assert.equal(messages.length, 1);
    assert.match(messages[0], /^Сумма всех процентов составляет 96,7%/);
    assert.equal(await focused(), "Command1", "the focus comes back");
    assert.deepEqual((await drawing(page)).map(([text]) => text), ["C", " 1.1n", "H", " 2.1n", "O", "n"]);

    // The table panel by Enter and Escape, then the precision list by arrow key.
    await page.keyboard.press("Tab");
    await page.keyboard.press("Enter");
    assert.equal(await focused(), "tableText");
    await page.keyboard.press("Escape");
    assert.equal(await focused(), "cmdTable");
    await page.keyboard.press("Tab");
    await page.keyboard.press("ArrowDown");
    assert.equal(await precisionList(page).inputValue(), "2");
    await close(page);
  });
});
