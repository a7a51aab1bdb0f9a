// Debian's Chromium, headless, driven by playwright-core from npm.
//   VELTRAX_NODE_MODULES  where npm installed playwright-core
import { createRequire } from "node:module";
import { join, resolve } from "node:path";

const { chromium } = createRequire(join(resolve(process.env.VELTRAX_NODE_MODULES ?? "node_modules"), "x"))("playwright-core");

const options = {
  executablePath: "/usr/bin/chromium",
  args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
    "--disable-component-update", "--disable-sync"],
};
export const launchChromium = () => chromium.launch(options);
// A profile of its own on disk, as a person's browser has (not an incognito
// one, which Chromium never offers to install a page from).
export const launchProfile = (folder, contextOptions) =>
  chromium.launchPersistentContext(folder, { ...options, ...contextOptions });
