// Renders the page's screenshots of the documentation in headless Chromium: the RESULTS and
// GRAPHS steps after a run on examples/mediterranean.txt, in a view 390 pixels wide (a phone's)
// in the light scheme and in the dark.
// Usage: node web/screenshots.mjs BUILD_FOLDER [OUTDIR]   (default docs/screenshots)
import { createRequire } from "node:module";
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

const here = dirname(fileURLToPath(import.meta.url));
const root = join(here, "..");
const buildFolder = resolve(process.argv[2] ?? "build-web");
const out = resolve(process.argv[3] ?? join(root, "docs", "screenshots"));
const { chromium } = createRequire(join(here, "package.json"))("playwright-core");

const profile = mkdtempSync(join(tmpdir(), "torrentix-screenshots-"));
const context = await chromium.launchPersistentContext(profile, {
  executablePath: "/usr/bin/chromium",
  headless: true,
  viewport: { width: 390, height: 844 },
  args: ["--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking"],
});
try {
  const page = context.pages()[0] ?? (await context.newPage());
  for (const scheme of ["light", "dark"]) {
    await page.emulateMedia({ colorScheme: scheme });
    await page.goto(pathToFileURL(join(buildFolder, "torrentix.html")).href);
    await page.waitForSelector("body[data-ready=true]", { timeout: 30_000 });
    await page.selectOption("#gig", "Med");
    await page.selectOption("#type", "R-M1");
    await page.setInputFiles("#file", join(root, "examples", "mediterranean.txt"));
    await page.waitForSelector("#options:not([hidden])");
    await page.locator("#option-rows tr").nth(0).locator(".bio").check();
    await page.click("#run");
    await page.waitForSelector("#results:not([hidden])", { timeout: 600_000 });
    const suffix = scheme === "dark" ? "-dark" : "";
    await page.screenshot({ path: join(out, `page-390${suffix}.png`), fullPage: true });
    console.log(join(out, `page-390${suffix}.png`));
  }
} finally {
  await context.close();
  rmSync(profile, { recursive: true, force: true });
}
