// Served from a web server, the page keeps itself for offline use through a
// service worker (sw.js beside it). A newer page, once published, waits
// until the user agrees to it, so that nothing changes in the middle of a
// lesson. The single file opened from disk has no worker.
import { ask } from "./messages.js";

export const registerWorker = () => {
  if (!("serviceWorker" in navigator) || !document.querySelector('link[rel="manifest"]')) return;
  let offered = false;
  const offer = (registration) => {
    if (offered || !registration.waiting || !navigator.serviceWorker.controller) return;
    offered = true;
    ask("Доступна новая версия Veltrax\u00a0— обновить?", "Обновить", "Позже", () => {
      navigator.serviceWorker.addEventListener("controllerchange", () => location.reload(), { once: true });
      registration.waiting.postMessage("update");
    });
  };
  navigator.serviceWorker
    .register("sw.js")
    .then((registration) => {
      offer(registration);
      registration.addEventListener("updatefound", () => {
        const worker = registration.installing;
        worker?.addEventListener("statechange", () => {
          if (worker.state === "installed") offer(registration);
        });
      });
    })
    .catch(() => {}); // without a worker the page works as before, only not offline
};
