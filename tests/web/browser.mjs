// Headless Chromium (Debian's) over the page opened from disk, for the page's tests.
// Needs TORRENTIX_BUILD_WEB, the folder of torrentix.html.

import { mkdtempSync, rmSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { dirname, join } from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

export const root = join(dirname(fileURLToPath(import.meta.url)), "..", "..");
export const buildWeb = process.env.TORRENTIX_BUILD_WEB ?? join(root, "build-web");
export const pageUrl = pathToFileURL(join(buildWeb, "torrentix.html")).href;
const { chromium } = createRequire(join(root, "web", "package.json"))("playwright-core");

// A browser with a profile of its own in a new folder; `close()` ends both.
export async function startBrowser(prefix) {
  const work = mkdtempSync(join(tmpdir(), prefix));
  const context = await chromium.launchPersistentContext(join(work, "profile"), {
    executablePath: "/usr/bin/chromium",
    headless: true,
    acceptDownloads: true,
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
      "--disable-component-update", "--disable-sync"],
  });
  const page = context.pages()[0] ?? (await context.newPage());
  return {
    work,
    context,
    page,
    close: async () => {
      await context.close();
      rmSync(work, { recursive: true, force: true });
    },
  };
}

export async function openPage(page) {
  await page.goto(pageUrl);
  await page.waitForSelector("body[data-ready=true]", { timeout: 30_000 });
}
