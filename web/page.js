// The page is the program's window: the same six controls, laid out in twips
// as the desktop lays them out, and the same core, compiled to WebAssembly,
// doing everything that is not the browser's work.
"use strict";

(() => {
  const $ = (id) => document.getElementById(id);
  const txtFormula = $("txtFormula");
  const picFormula = $("picFormula");
  const txtPercent = $("txtPercent");
  const Command1 = $("Command1");
  const lblPrecision = $("lblPrecision");
  const cmbPrecision = $("cmbPrecision");
  const cmdTable = $("cmdTable");

  const kTwipsPerPixel = 15; // 1440 twips an inch, 96 CSS pixels an inch
  const kPictureFont = 'Arial, "Liberation Sans", Helvetica, sans-serif';
  const kStorageKey = "veltrax/";

  // ---- The element table in the browser's storage ------------------------

  // One character a byte, as NameMass.dat is single-byte text.
  //
  // Storage counts as unavailable only where it cannot be read (a private
  // window, a browser that gives pages opened from disk none): the table then
  // lives in memory until the page is closed, and the user is told once. A
  // write that the browser refuses (a full origin) keeps the edit in memory
  // too, for the page's life, and says so.
  //
  // The core looks at the table at every line of a composition. It is read
  // from storage once per analysis and kept here; a counter that grows with
  // every change this page makes or hears of (the storage event tells of other
  // tabs' writes) stands in for the file's stamp, so that no look costs more
  // than a comparison, however large the table.
  const kTableName = "NameMass.dat";
  const store = (() => {
    let storage = null;
    try {
      storage = window.localStorage;
      storage.getItem(kStorageKey + kTableName);
    } catch (error) {
      storage = null;
    }
    const unsaved = new Map(); // what the page holds and storage does not
    const memoryMeta = new Map();
    const known = new Map(); // name -> {bytes, generation}: storage as last read
    let generation = 0;
    let lookedThisAnalysis = new Set();
    let unavailableNoticePending = storage === null;
    let unsavedNoticePending = false;

    const fromStorage = (name) => {
      try {
        return storage.getItem(kStorageKey + name);
      } catch (error) {
        return null;
      }
    };
    // The table as the page sees it now, with its generation.
    const entry = (name) => {
      if (unsaved.has(name)) return unsaved.get(name);
      if (storage === null) return null;
      if (!lookedThisAnalysis.has(name) || !known.has(name)) {
        const bytes = fromStorage(name);
        const before = known.get(name);
        if (!before || before.bytes !== bytes) known.set(name, { bytes, generation: ++generation });
        lookedThisAnalysis.add(name);
      }
      const current = known.get(name);
      return current.bytes === null ? null : current;
    };
    const get = (name) => {
      lookedThisAnalysis.delete(name); // outside an analysis, always what is stored now
      const current = entry(name);
      return current === null ? null : current.bytes;
    };
    const version = (name) => (storage === null ? null : fromStorage(name + "#version"));
    // Writes into storage, with a new version beside the table for other
    // tabs' conflict check; false where the browser refuses.
    const write = (name, bytes) => {
      try {
        storage.setItem(kStorageKey + name, bytes);
      } catch (error) {
        return false;
      }
      try {
        storage.setItem(kStorageKey + name + "#version", `${Date.now()}-${Math.random()}`);
      } catch (error) {
        // The table itself is stored; only other tabs' conflict check misses this write.
      }
      known.set(name, { bytes, generation: ++generation });
      return true;
    };
    // Stores the bytes; false where the browser refuses, and then the page
    // keeps them for its life.
    const set = (name, bytes) => {
      if (storage !== null && write(name, bytes)) {
        unsaved.delete(name);
        return true;
      }
      if (storage !== null) unsavedNoticePending = true;
      unsaved.set(name, { bytes, generation: ++generation });
      return false;
    };
    const stamp = (current) => ({ size: current.bytes.length, device: 0, inode: current.generation, modified: 0, changed: 0 });
    return {
      available: storage !== null,
      get,
      set,
      version,
      isUnsaved: (name) => unsaved.has(name),
      // Small notes beside the table; kept in memory where storage refuses them.
      getMeta(key) {
        if (memoryMeta.has(key)) return memoryMeta.get(key);
        return storage === null ? null : fromStorage(key);
      },
      setMeta(key, value) {
        memoryMeta.delete(key);
        try {
          if (storage === null) throw new Error("no storage");
          storage.setItem(kStorageKey + key, value);
        } catch (error) {
          memoryMeta.set(key, value);
        }
      },
      // Each analysis looks at storage afresh, once.
      beginAnalysis() {
        lookedThisAnalysis = new Set();
      },
      // Another tab changed storage: what is known of it is stale.
      forget() {
        known.clear();
        lookedThisAnalysis = new Set();
      },
      // Told with the first analysis or the panel, once each.
      takeNotices() {
        const notices = [];
        if (unavailableNoticePending) {
          unavailableNoticePending = false;
          notices.push(
            "Хранилище браузера недоступно (например, в приватном окне или когда браузер не даёт его " +
              "страницам, открытым с диска). Таблица элементов не сохранится после закрытия страницы: " +
              "расчёты ведутся по встроенной таблице, а правки в панели «Таблица элементов» действуют, " +
              "пока страница открыта.");
        } else if (unsavedNoticePending && unsaved.size > 0) {
          unsavedNoticePending = false;
          notices.push(
            "Браузер не сохранил правки таблицы элементов: его хранилище переполнено или закрыто для записи. " +
              "Расчёты ведутся по таблице из панели «Таблица элементов», пока страница открыта; чтобы правки " +
              "не пропали, сохраните таблицу в файл кнопкой «Сохранить как NameMass.dat».");
        }
        return notices;
      },
      // What the core's element-file layer calls.
      look(name) {
        const current = entry(name);
        return current === null ? null : stamp(current);
      },
      read(name, maxBytes) {
        const current = entry(name);
        return current === null ? null : { stamp: stamp(current), bytes: current.bytes.slice(0, maxBytes) };
      },
      create(name, bytes) {
        if (get(name) !== null) return "existed";
        if (storage === null) {
          set(name, bytes);
          return "created";
        }
        // A table that storage refuses is not created: the core then computes
        // with the built-in copy, which holds the same bytes.
        return write(name, bytes) ? "created" : "failed";
      },
    };
  })();

  // ---- Text widths in the picture's font ---------------------------------

  // Measured at one twip a pixel, so widths come out in twips.
  const measure = document.createElement("canvas").getContext("2d");
  const fontAt = (points) => `${points * 20}px ${kPictureFont}`;
  const textWidth = (text, points) => {
    measure.font = fontAt(points);
    return measure.measureText(text).width;
  };
  const ascents = new Map();
  const ascentOf = (points) => {
    if (!ascents.has(points)) {
      measure.font = fontAt(points);
      ascents.set(points, measure.measureText("H").fontBoundingBoxAscent);
    }
    return ascents.get(points);
  };

  // ---- Calls into the core ------------------------------------------------

  let core = null;
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
  const call = (name, ...args) => {
    const owned = [];
    const converted = args.flatMap((arg) => {
      if (typeof arg !== "string") return [arg];
      const [pointer, length] = inText(arg);
      owned.push(pointer);
      return [pointer, length];
    });
    try {
      const text = core.UTF8ToString(core["_veltrax_" + name](...converted));
      const answer = JSON.parse(text);
      // The picture as text, to tell whether it changed at all.
      answer.drawingText = text.slice(text.indexOf('"drawing":'));
      return answer;
    } finally {
      owned.forEach((pointer) => core._free(pointer));
    }
  };
  // Lines as the core sees them: joined by CR LF.
  const withCRLF = (text) => text.replace(/\r\n|\r|\n/g, "\r\n");

  const decimalSeparator = () => {
    try {
      const parts = new Intl.NumberFormat(navigator.language).formatToParts(1.5);
      const decimal = parts.find((part) => part.type === "decimal");
      return decimal ? decimal.value : ".";
    } catch (error) {
      return ".";
    }
  };
  let precision = 1;

  // The result of Enter or of the button, for a screen reader.
  const resultLive = $("resultLive");
  const announce = (text) => {
    resultLive.textContent = "";
    resultLive.textContent = text;
  };

  // ---- Messages: modal, one at a time, in order --------------------------

  const messageBox = $("message");
  const messages = [];
  let focusBeforeMessages = null;
  const showNextMessage = () => {
    if (messageBox.open || messages.length === 0) return;
    if (focusBeforeMessages === null) focusBeforeMessages = document.activeElement;
    $("messageText").textContent = messages.shift();
    messageBox.showModal();
    $("messageOK").focus();
  };
  messageBox.addEventListener("close", () => {
    if (messages.length > 0) {
      setTimeout(showNextMessage);
      return;
    }
    const back = focusBeforeMessages;
    focusBeforeMessages = null;
    if (back && back !== document.body) back.focus();
  });
  // Opened after the event that raised them has ended, so that the Enter that
  // started an analysis does not also press OK.
  const queueMessages = (texts) => {
    if (texts.length === 0) return;
    messages.push(...texts);
    setTimeout(showNextMessage);
  };

  // ---- Layout: the window's, in twips, over the viewport -----------------

  // Design positions (left, top, width, height) in twips.
  const geometry = {
    picFormula: [0, 480, 7095, 735],
    formulaNotice: [0, 1215, 7095, 0], // under the picture, as tall as its text, over what lies below
    txtFormula: [0, 0, 7095, 375],
    txtPercent: [1200, 1320, 4095, 2535],
    Command1: [0, 1320, 1095, 1335],
    lblPrecision: [5280, 1320, 1215, 615],
    cmbPrecision: [5400, 2040, 975, 315],
    cmdTable: [0, 2745, 1095, 615],
    tableInUse: [0, 3420, 1095, 0], // which element table is in force, under its button
  };
  // CSS pixels a pixel of the design, from the size of the browser window as
  // it is at the browser's zoom of 100 %: zooming in then enlarges everything,
  // as on any page (devicePixelRatio grows with the zoom; its value at start
  // counts as 100 %). Never below 8/7, where the smallest control, the
  // precision list of 315 twips, is 24 CSS pixels tall; up to 3 on a large
  // screen or a projector, so that the type stays readable from afar.
  const startRatio = window.devicePixelRatio || 1;
  const zoom = () => (window.devicePixelRatio || 1) / startRatio;
  const kMinScale = 8 / 7;
  const kBelowPicture = 1320; // the top of the report box and of the controls beside it
  const scale = () =>
    Math.min(3, Math.max(kMinScale, Math.min((window.innerWidth * zoom()) / 954, (window.innerHeight * zoom()) / 540)));
  // Narrower than this, or on a touch screen, the window's layout would leave
  // controls too small to read and hit: the same controls stand one under the
  // other, full width.
  const kPhoneWidth = 600;
  const phoneLayout = () => window.innerWidth < kPhoneWidth || window.matchMedia("(pointer: coarse)").matches;
  let pixelsPerTwip = 1 / kTwipsPerPixel;
  const f = Math.fround; // the controls' coordinates are single precision
  // A value the platform rejects (negative, not a number) is not applied.
  const setIf = (box, index, value) => {
    if (Number.isFinite(value) && (value >= 0 || index === 0)) box[index] = f(value);
  };
  const layout = () => {
    const phone = phoneLayout();
    document.documentElement.classList.toggle("phone", phone);
    pixelsPerTwip = scale() / kTwipsPerPixel;
    // Dialogs and the panel follow the page's scale: 15 pixels at the least.
    document.documentElement.style.setProperty("--k", `${phone ? Math.max(pixelsPerTwip, 16 / 225) : pixelsPerTwip}px`);
    const g = geometry;
    if (phone) {
      for (const id of Object.keys(g)) $(id).removeAttribute("style");
      // The picture keeps the design's 735 twips in its CSS height.
      const box = picFormula.getBoundingClientRect();
      g.picFormula[2] = f(box.width / (box.height / 735));
      picFormula.setAttribute("viewBox", `0 0 ${g.picFormula[2]} 735`);
      return;
    }
    const W = f(window.innerWidth / pixelsPerTwip);
    const H = f(window.innerHeight / pixelsPerTwip);
    setIf(g.txtFormula, 2, W);
    setIf(g.picFormula, 2, W);
    setIf(g.formulaNotice, 2, W);
    setIf(g.txtPercent, 2, f(W - f(2 * g.txtPercent[0])));
    setIf(g.lblPrecision, 0, f(f(g.txtPercent[0] + g.txtPercent[2]) + 50));
    setIf(g.cmbPrecision, 0, f(f(g.txtPercent[0] + g.txtPercent[2]) + 150));
    // The notice's band: what stands below the picture moves down by it.
    const place = (id, [left, top, width, height]) => {
      const style = $(id).style;
      style.left = `${left * pixelsPerTwip}px`;
      style.top = `${top * pixelsPerTwip}px`;
      style.width = `${width * pixelsPerTwip}px`;
      if (height > 0) style.height = `${height * pixelsPerTwip}px`;
    };
    place("formulaNotice", g.formulaNotice);
    const notice = $("formulaNotice");
    const noticeBottom = g.formulaNotice[1] + notice.getBoundingClientRect().height / pixelsPerTwip;
    const band = notice.hidden ? 0 : Math.max(0, noticeBottom + 45 - kBelowPicture);
    setIf(g.txtPercent, 3, f(H - (g.txtPercent[1] + band)));
    for (const [id, box] of Object.entries(g)) {
      if (id !== "formulaNotice") place(id, box[1] >= kBelowPicture ? [box[0], box[1] + band, box[2], box[3]] : box);
    }
    const [, , pw, ph] = g.picFormula;
    picFormula.setAttribute("viewBox", `0 0 ${pw} ${ph}`);
  };

  // ---- The picture: what the core drew, as SVG in twips -------------------

  const svgNS = "http://www.w3.org/2000/svg";
  // The description names every character of the formula: it is made once
  // the typing pauses, not at every key.
  let describing = 0;
  const describe = () => {
    clearTimeout(describing);
    picFormula.setAttribute("aria-description", JSON.parse(core.UTF8ToString(core._veltrax_description())));
    delete picFormula.dataset.describing;
  };
  let drawnText = "";
  const draw = (answer) => {
    clearTimeout(describing);
    picFormula.dataset.describing = "true";
    describing = setTimeout(describe, 250);
    // A key at the end of a long formula changes nothing in sight.
    if (answer.drawingText === drawnText) return;
    drawnText = answer.drawingText;
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
  const visibleTwips = () => geometry.picFormula[2];

  // ---- The formula box ----------------------------------------------------

  // The core decides what the box keeps and what the notice says; the last
  // answer serves the input event that follows a change it has already seen.
  let lastAnswer = null;
  const formulaChanged = (typed, replacesAll = false) => {
    if (lastAnswer && lastAnswer.typed === typed) return lastAnswer;
    lastAnswer = call("formula_changed", typed, visibleTwips(), replacesAll ? 1 : 0);
    lastAnswer.typed = typed;
    return lastAnswer;
  };
  // What the cleaning took away, in a line under the picture that screen
  // readers announce. The controls below stand lower while it is shown.
  const formulaNotice = $("formulaNotice");
  const showNotice = (text) => {
    if (formulaNotice.textContent === text && formulaNotice.hidden === (text === "")) return;
    formulaNotice.textContent = text;
    formulaNotice.hidden = text === "";
    layout();
  };
  // Writes the cleaned text back as an edit, so the browser's undo history
  // keeps it: one undo step goes back to the text before the user's edit.
  // The box's own events for it carry the text just handled: no new edit.
  const writeBack = (cleaned) => {
    txtFormula.focus();
    txtFormula.select();
    if (cleaned === "") {
      if (txtFormula.value !== "") document.execCommand("delete");
    } else {
      document.execCommand("insertText", false, cleaned);
    }
    if (txtFormula.value !== cleaned) txtFormula.value = cleaned; // where editing commands are unavailable
    txtFormula.setSelectionRange(cleaned.length, cleaned.length);
  };
  const answerChange = (answer) => {
    draw(answer);
    showNotice(answer.notice);
    queueMessages(answer.messages);
    answer.messages = [];
  };
  // An input method's composition (a phone's keyboard, dictation, the
  // Chinese or Japanese input) owns the box's text until it ends: nothing is
  // written back meanwhile, and the composed text is cleaned once at its end.
  let composing = false;
  txtFormula.addEventListener("compositionstart", () => {
    composing = true;
  });
  txtFormula.addEventListener("compositionend", () => {
    composing = false;
    formulaInput();
  });
  // An insertion whose text the core would change is replaced by the cleaned
  // text before it reaches the box, so the box never holds a huge paste. An
  // autocorrect or dictation replacement changes a range of its own, not the
  // selection: the box takes it, and the input event cleans it.
  const kInsertions = new Set(["insertText", "insertFromPaste", "insertFromDrop", "insertFromYank"]);
  txtFormula.addEventListener("beforeinput", (event) => {
    if (!core || composing || event.isComposing || !kInsertions.has(event.inputType)) return;
    const data = event.dataTransfer ? event.dataTransfer.getData("text/plain") : event.data;
    if (data === null || data === undefined) return;
    const { value, selectionStart, selectionEnd } = txtFormula;
    const whole = selectionStart === 0 && selectionEnd === value.length && value.length > 0;
    const answer = formulaChanged(value.slice(0, selectionStart) + data + value.slice(selectionEnd), whole);
    if (answer.formula === null) return; // the box takes the edit as it is
    event.preventDefault();
    writeBack(answer.formula);
    answerChange(answer);
  });
  const formulaInput = (event) => {
    if (!core || composing || (event && event.isComposing)) return;
    const answer = formulaChanged(txtFormula.value);
    if (answer.formula !== null) writeBack(answer.formula);
    answerChange(answer);
  };
  txtFormula.addEventListener("input", formulaInput);
  txtFormula.addEventListener("keydown", (event) => {
    if (!core || event.key !== "Enter" || event.isComposing) return;
    event.preventDefault();
    storeEdit();
    store.beginAnalysis();
    const answer = call("enter", precision, decimalSeparator(), tableFile(), visibleTwips());
    showNotice(answer.notice);
    if (answer.report !== null) {
      txtPercent.value = answer.report.replace(/\r\n/g, "\n");
      // Said to a screen reader: the molar mass of the report's first line.
      announce(answer.report.slice(0, answer.report.indexOf("\r")).replace(/^# Масса - /, "Молярная масса "));
    }
    queueMessages([...store.takeNotices(), ...answer.messages]);
  });

  Command1.addEventListener("click", () => {
    if (!core) return;
    lastAnswer = null; // the picture is the derived formula's now
    storeEdit();
    store.beginAnalysis();
    const answer = call("command", withCRLF(txtPercent.value), precision, decimalSeparator(), tableFile(), visibleTwips());
    draw(answer);
    describe(); // and said to a screen reader at once
    announce(picFormula.getAttribute("aria-description"));
    queueMessages([...store.takeNotices(), ...answer.messages]);
  });

  // ---- The report box: bounded as the desktop's is --------------------------

  // Of an insertion that would leave more than the box keeps, the start is
  // taken, never half a character, and the user is told how much was left
  // out: once for each paste or drop, once for typing into a full box.
  // The browser's own editing takes time that grows with the square of the
  // lines inserted (seconds for a few thousand), so a long paste or drop is
  // put in place directly: quick, but without a step in the undo history.
  const kLongInsertion = 4096;
  let toldFull = false;
  txtPercent.addEventListener("beforeinput", (event) => {
    if (!core || !event.inputType.startsWith("insert")) return;
    let data = event.dataTransfer ? event.dataTransfer.getData("text/plain") : event.data;
    if (event.inputType === "insertLineBreak" || event.inputType === "insertParagraph") data = "\n";
    if (typeof data !== "string") return;
    data = data.replace(/\r\n?/g, "\n");
    const { value, selectionStart, selectionEnd } = txtPercent;
    const room = Math.max(0, core._veltrax_report_capacity() - (value.length - (selectionEnd - selectionStart)));
    if (data.length <= Math.min(room, kLongInsertion)) return; // the browser inserts it
    event.preventDefault();
    let kept = Math.min(room, data.length);
    if (kept < data.length && kept > 0 && /[\ud800-\udbff]/.test(data[kept - 1])) --kept;
    txtPercent.setRangeText(data.slice(0, kept), selectionStart, selectionEnd, "end");
    if (kept === data.length) return;
    const typing = event.inputType === "insertText" || event.inputType === "insertLineBreak";
    if (typing && toldFull) return;
    toldFull = typing;
    queueMessages([JSON.parse(core.UTF8ToString(core._veltrax_report_cut(data.length - kept)))]);
  });
  txtPercent.addEventListener("input", () => {
    if (core && txtPercent.value.length < core._veltrax_report_capacity()) toldFull = false;
  });

  for (let places = 0; places <= 14; ++places) cmbPrecision.add(new Option(String(places), String(places)));
  cmbPrecision.selectedIndex = 1;
  cmbPrecision.addEventListener("change", () => {
    precision = Number(cmbPrecision.value);
  });

  // ---- The element table panel -------------------------------------------

  // Which table is in force, under its button: the built-in one, a ready one
  // or one from a file, and whether it was edited since.
  const kReadyTables = /*@TABLES@*/ null;
  const kSourceNames = { builtin: "встроенная", school: "школьная", iupac: "IUPAC 2021" };
  const readSource = () => {
    try {
      return JSON.parse(store.getMeta(`${kTableName}#source`)) ?? { kind: "builtin" };
    } catch (error) {
      return { kind: "builtin" };
    }
  };
  const showSource = () => {
    const source = readSource();
    const name = source.kind === "file" ? `из файла «${source.name}»` : kSourceNames[source.kind] ?? "встроенная";
    $("tableInUse").textContent = `Таблица: ${name}${source.edited ? ", изменена" : ""}`;
  };
  // The file the table in force was loaded from, which the messages name.
  const tableFile = () => {
    const source = readSource();
    return source.kind === "file" ? source.name : "";
  };
  const setSource = (source) => {
    store.setMeta(`${kTableName}#source`, JSON.stringify(source));
    showSource();
  };
  const panel = $("tablePanel");
  const tableText = $("tableText");
  const tableStatus = $("tableStatus");
  const tableConflict = $("tableConflict");
  const builtIn = () => {
    const data = core._veltrax_built_in_data();
    return String.fromCharCode(...core.HEAPU8.subarray(data, data + core._veltrax_built_in_size()));
  };
  const tableBytes = () => {
    if (store.get(kTableName) === null) store.create(kTableName, builtIn());
    const bytes = store.get(kTableName);
    return bytes === null ? builtIn() : bytes;
  };
  // The built-in copy ends with a NUL byte after the last blank; the editor
  // leaves it out of sight and edits keep it.
  let endsWithNul = false;
  // The stored version that the panel's text was taken from: an edit made on
  // an older text than the stored one is never written over it unasked.
  let panelVersion = null;
  const setConflict = (on) => {
    tableConflict.hidden = !on;
  };
  const showTable = () => {
    const bytes = tableBytes();
    panelVersion = store.version(kTableName);
    setConflict(false);
    endsWithNul = bytes.endsWith("\0");
    tableText.value = (endsWithNul ? bytes.slice(0, -1) : bytes).replace(/\r\n|\r/g, "\n");
    tableText.setSelectionRange(0, 0);
    tableText.scrollTop = tableText.scrollLeft = 0;
  };
  const say = (text) => {
    tableStatus.textContent = text;
  };
  // Characters beyond one byte cannot stand in the file: "?" takes their place.
  const toBytes = (text) => text.replace(/[^\u0000-\u00ff]/g, "?");
  const panelBytes = () => toBytes(tableText.value.replace(/\n/g, "\r\n")) + (endsWithNul ? "\0" : "");
  // The page computes with the bytes from now on; the status says whether
  // they are stored too.
  const keep = (bytes, done) => {
    if (store.set(kTableName, bytes)) {
      panelVersion = store.version(kTableName);
      say(done);
      return;
    }
    say(store.available
      ? "Браузер не сохранил таблицу: его хранилище переполнено или закрыто для записи. Правки действуют, пока " +
        "страница открыта; чтобы они не пропали, сохраните таблицу в файл кнопкой «Сохранить как NameMass.dat»."
      : "Хранилище браузера недоступно: правки действуют, пока страница открыта. Чтобы они не пропали, " +
        "сохраните таблицу в файл кнопкой «Сохранить как NameMass.dat».");
  };
  // What the analyses would say of a table's bytes, at once.
  const checkTable = (bytes) => {
    const data = Uint8Array.from(bytes, (c) => c.charCodeAt(0));
    const pointer = core._malloc(data.length + 1);
    core.HEAPU8.set(data, pointer);
    try {
      return JSON.parse(core.UTF8ToString(core._veltrax_check_table(pointer, data.length)));
    } finally {
      core._free(pointer);
    }
  };
  const problemOf = (bytes, source) => {
    const problem = checkTable(bytes);
    if (problem === "") return "";
    const named = source.kind === "file" ? `Таблица из файла «${source.name}»` : "Таблица";
    return ` ${named}: ${problem.charAt(0).toLowerCase()}${problem.slice(1)}`;
  };
  // A whole new table: stored, said in the status with its check, and shown.
  const take = (bytes, source, done) => {
    setSource(source);
    keep(bytes, done);
    tableStatus.textContent += problemOf(bytes, source);
    showTable();
  };
  const changedElsewhere = () => store.available && store.version(kTableName) !== panelVersion;
  const kConflict = "Таблицу изменили в другой вкладке или окне, пока здесь её правили: ваши правки не сохранены.";
  cmdTable.addEventListener("click", () => {
    if (!core) return;
    say("");
    showTable();
    panel.showModal();
    tableText.focus();
    queueMessages(store.takeNotices());
  });
  // An edit is stored once the frame that shows it has been painted (a table
  // of megabytes takes the browser tens of milliseconds to store), and at
  // the latest when the panel closes or the page is left.
  let editPending = false;
  const storeEdit = () => {
    if (!editPending) return;
    editPending = false;
    if (!tableConflict.hidden || changedElsewhere()) {
      setConflict(true);
      say(kConflict);
      return;
    }
    const bytes = panelBytes();
    const source = readSource();
    if (!source.edited) setSource({ ...source, edited: true });
    keep(bytes, "Правки сохранены: они действуют со следующего расчёта.");
    tableStatus.textContent += problemOf(bytes, source);
  };
  tableText.addEventListener("input", () => {
    if (editPending) return;
    editPending = true;
    requestAnimationFrame(() => setTimeout(storeEdit));
    setTimeout(storeEdit, 250); // where no frame comes (a hidden tab)
  });
  window.addEventListener("pagehide", storeEdit);
  $("tableTakeStored").addEventListener("click", () => {
    showTable();
    say("Показана таблица, сохранённая в другой вкладке или окне.");
    tableText.focus();
  });
  $("tableKeepMine").addEventListener("click", () => {
    setConflict(false);
    keep(panelBytes(), "Ваша таблица сохранена вместо изменённой в другой вкладке или окне.");
    tableText.focus();
  });
  // Another tab or window stored a table: the panel shows it where it holds
  // no edit of its own that was not stored.
  window.addEventListener("storage", (event) => {
    if (event.key !== null && !event.key.startsWith(kStorageKey + kTableName)) return;
    store.forget();
    showSource();
    if (!panel.open || !tableConflict.hidden || editPending) return;
    if (store.isUnsaved(kTableName)) {
      setConflict(true);
      say(kConflict);
      return;
    }
    const stored = store.get(kTableName);
    if (stored !== null && (changedElsewhere() || stored !== panelBytes())) {
      showTable();
      say("Таблицу изменили в другой вкладке или окне: показана сохранённая.");
    }
  });
  $("tableLoad").addEventListener("click", () => $("tableFile").click());
  $("tableFile").addEventListener("change", async () => {
    const file = $("tableFile").files[0];
    $("tableFile").value = "";
    if (!file) return;
    try {
      const bytes = new Uint8Array(await file.arrayBuffer());
      let text = "";
      for (let i = 0; i < bytes.length; i += 8192) text += String.fromCharCode(...bytes.subarray(i, i + 8192));
      // A table saved with Linux's line ends would be one line to the program.
      const converted = text.replace(/(?<!\r)\n/g, "\r\n");
      const told = converted === text ? "" : " Концы строк LF в нём заменены на CR LF, как нужно программе.";
      take(converted, { kind: "file", name: file.name }, `Загружена таблица из файла «${file.name}».${told}`);
    } catch (error) {
      say(`Файл «${file.name}» не удалось прочитать (${error.name}).`);
    }
  });
  $("tableSave").addEventListener("click", () => {
    const bytes = tableBytes();
    const blob = new Blob([Uint8Array.from(bytes, (c) => c.charCodeAt(0))], { type: "application/octet-stream" });
    const link = document.createElement("a");
    link.href = URL.createObjectURL(blob);
    link.download = kTableName;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    say("Таблица сохранена как NameMass.dat в папку загрузок браузера.");
  });
  // A whole table replaced after a question: the built-in one or a ready one.
  const confirmBox = $("confirmRestore");
  let onConfirm = null;
  const ask = (question, action) => {
    $("confirmText").textContent = question;
    onConfirm = action;
    confirmBox.returnValue = "";
    confirmBox.showModal();
    $("confirmNo").focus();
  };
  confirmBox.addEventListener("close", () => {
    if (confirmBox.returnValue === "yes" && onConfirm) onConfirm();
    onConfirm = null;
    tableText.focus();
  });
  const offerTable = (button, kind, bytes) =>
    $(button).addEventListener("click", () =>
      ask(`Заменить таблицу элементов таблицей «${kSourceNames[kind]}»? Все правки в нынешней таблице пропадут.`,
        () => take(bytes(), { kind }, `Взята таблица «${kSourceNames[kind]}».`)));
  offerTable("tableRestore", "builtin", builtIn);
  offerTable("tableSchool", "school", () => kReadyTables.school);
  offerTable("tableIupac", "iupac", () => kReadyTables.iupac);
  $("tableClose").addEventListener("click", () => {
    storeEdit();
    panel.close();
  });
  // The close event comes a task later: where the focus has gone meanwhile
  // (a click into the formula box), it stays.
  panel.addEventListener("close", () => {
    storeEdit();
    if (document.activeElement === document.body || panel.contains(document.activeElement)) cmdTable.focus();
  });

  // ---- Start-up -------------------------------------------------------------

  window.addEventListener("resize", () => {
    layout();
    if (core) draw(call("picture", visibleTwips()));
  });
  layout();
  VeltraxCore({ veltraxStore: store, veltraxTextWidth: textWidth }).then((module) => {
    core = module;
    core._veltrax_start();
    showSource();
    // What was typed while the core was loading is handled now.
    if (txtFormula.value !== txtFormula.defaultValue) formulaInput();
    document.documentElement.dataset.ready = "true";
    performance.mark("veltrax-ready");
    if (document.activeElement === document.body) txtFormula.focus();
  });
})();
