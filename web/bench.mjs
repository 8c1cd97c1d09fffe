// Times the page in headless Chromium (Debian's): how long it takes to be ready after it is
// opened from disk, and how long a run of a sample file takes in it (the engine's part and
// the whole until the views are shown), each the median of several tries; then the memory of
// the browser's processes (their resident sizes summed, Linux's ps) after the file is opened
// and run once, and after it is opened and run six times in the same page. Not a test.
// Usage: node web/bench.mjs BUILD_FOLDER SAMPLE_FILE GIG TYPE
import { execFileSync } from "node:child_process";
import { createRequire } from "node:module";
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, resolve } from "node:path";
import { pathToFileURL } from "node:url";

const [buildFolder, sample, gig, type] = process.argv.slice(2);
const { chromium } = createRequire(import.meta.url)("playwright-core");
const profile = mkdtempSync(join(tmpdir(), "torrentix-bench-"));
const context = await chromium.launchPersistentContext(profile, {
  executablePath: "/usr/bin/chromium",
  headless: true,
  args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
    "--disable-component-update", "--disable-sync"],
});
const page = context.pages()[0] ?? (await context.newPage());
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const url = pathToFileURL(resolve(buildFolder, "torrentix.html")).href;

const ready = [];
const runs = [];
const engine = [];
for (let i = 0; i < 5; ++i) {
  const started = Date.now();
  await page.goto(url);
  await page.waitForSelector("body[data-ready=true]");
  ready.push(Date.now() - started);
  if (i < 3) {
    await page.selectOption("#gig", gig);
    await page.selectOption("#type", type);
    await page.setInputFiles("#file", sample);
    await page.waitForSelector("#options:not([hidden])", { timeout: 120_000 });
    await page.locator("#option-rows tr").nth(0).locator(".bio").check();
    await page.click("#run");
    await page.waitForSelector("#results:not([hidden])", { timeout: 600_000 });
    const [e, r] = await page.evaluate(() => ["engine", "run"].map((n) => performance.getEntriesByName(n)[0].duration));
    engine.push(e);
    runs.push(r);
  }
}
// The browser's processes are those started with the profile's folder.
function residentMegabytes() {
  const lines = execFileSync("ps", ["-eo", "rss=,args="]).toString().split("\n").filter((l) => l.includes(profile));
  return Math.round(lines.reduce((sum, l) => sum + Number(l.trim().split(/\s+/)[0]), 0) / 1024);
}
const memory = [];
for (let k = 0; k < 6; ++k) {
  if (k > 0) {
    await page.click("#new-file");
  }
  await page.setInputFiles("#file", sample);
  await page.waitForSelector("#options:not([hidden])", { timeout: 120_000 });
  await page.click("#run");
  await page.waitForSelector("#results:not([hidden])", { timeout: 600_000 });
  memory.push(residentMegabytes());
}

console.log(`page ready: ${median(ready)} ms (${ready.join(", ")})`);
console.log(`run in the page: ${Math.round(median(runs))} ms, of which the engine ${Math.round(median(engine))} ms`);
console.log(`memory after each of six opens and runs: ${memory.join(", ")} MB (${(memory[5] / memory[0]).toFixed(2)} × the first)`);
await context.close();
rmSync(profile, { recursive: true, force: true });
