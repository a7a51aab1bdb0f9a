// QR codes, drawn by qrcode-generator from npm, in a dialog large enough for
// a projector: the page's own address, or a link that carries a table.
import qrcode from "qrcode-generator";
import { $ } from "./dom.js";

// The code for a text at medium error correction, as SVG with its quiet
// zone, and its version (1 to 40); null where the text is too long for any.
export const qrCode = (text) => {
  const code = qrcode(0, "M");
  code.addData(text, "Byte");
  try {
    code.make();
  } catch (error) {
    return null;
  }
  const modules = code.getModuleCount();
  const size = modules + 8;
  let path = "";
  for (let row = 0; row < modules; ++row)
    for (let column = 0; column < modules; ++column)
      if (code.isDark(row, column)) path += `M${column + 4} ${row + 4}h1v1h-1z`;
  const svg = `<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 ${size} ${size}" shape-rendering="crispEdges">` +
    `<rect width="${size}" height="${size}" fill="#fff"/><path d="${path}" fill="#000"/></svg>`;
  return { svg, version: (modules - 17) / 4 };
};

const dialog = $("codeDialog");
// Shows `text` and, where there is one, the code of `address` with the
// address in letters.
export const showCode = (caption, text, address = null) => {
  $("codeCaption").textContent = caption;
  $("codeText").textContent = text;
  const code = address === null ? null : qrCode(address);
  $("codePicture").innerHTML = code ? code.svg : "";
  $("codePicture").hidden = code === null;
  $("codeAddress").value = address ?? "";
  $("codeAddress").hidden = address === null;
  dialog.showModal();
  $("codeClose").focus();
};

// The page's address for the pupils' phones: where it is served, its code;
// opened from disk, how to put it on a server.
$("cmdPhone").addEventListener("click", () => {
  if (/^https?:$/.test(location.protocol)) {
    showCode("Открыть на телефоне",
      "Наведите камеру телефона на код или наберите адрес в браузере. Добавленная на главный экран, страница " +
        "работает и без сети.",
      location.href.replace(/#.*$/, ""));
  } else {
    showCode("Открыть на телефоне",
      "Эта страница открыта с диска, и у неё нет адреса, который увидят телефоны. Положите папку web из " +
        "выпуска Veltrax на сервер школы или на хостинг статических страниц и откройте страницу по её адресу: " +
        "тогда здесь будет QR-код для класса.");
  }
});
