// The element table in the browser's storage.
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
export const kTableName = "NameMass.dat";

// A short hash of a table's bytes (FNV-1a), to tell that a note or a link
// belongs to these very bytes.
// The last answer is kept: the same table is asked about at once again.
let lastHashed = { bytes: null, hash: "" };
export const checksum = (bytes) => {
  if (bytes === lastHashed.bytes) return lastHashed.hash;
  let hash = 0x811c9dc5;
  for (let i = 0; i < bytes.length; ++i) hash = Math.imul(hash ^ bytes.charCodeAt(i), 0x01000193) >>> 0;
  lastHashed = { bytes, hash: hash.toString(36) };
  return lastHashed.hash;
};
const kStorageKey = "veltrax/";
export { kStorageKey };

export const store = (() => {
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
  // tabs' conflict check, which names the version the bytes were made from
  // ("<" and it), so that a tab whose stored edit was written over unseen can
  // tell; false where the browser refuses.
  const write = (name, bytes, base = null) => {
    try {
      storage.setItem(kStorageKey + name, bytes);
    } catch (error) {
      return false;
    }
    try {
      storage.setItem(kStorageKey + name + "#version", `${Date.now()}-${Math.random()}<${base ?? ""}`);
    } catch (error) {
      // The table itself is stored; only other tabs' conflict check misses this write.
    }
    known.set(name, { bytes, generation: ++generation });
    return true;
  };
  // Stores the bytes; false where the browser refuses, and then the page
  // keeps them for its life.
  const set = (name, bytes, base = null) => {
    if (storage !== null && write(name, bytes, base)) {
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
