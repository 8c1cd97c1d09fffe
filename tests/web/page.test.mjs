// The page in headless Chromium (Debian's), opened from disk: the five examples give the
// native batch command's files, the results list shows and sorts as the desktop program's, a
// file of unknown names is asked about, a refused file shows the batch command's message, a
// failed request is answered, a 20,000-sample file runs through its stages, the read of a file
// is cancelled, a file is read once for all its runs unless a run is cancelled; and no
// request leaves the page.
// Needs TORRENTIX_BUILD_WEB, the folder of torrentix.html and of the native tools (host/).

import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync, spawnSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { dirname, join } from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

const root = join(dirname(fileURLToPath(import.meta.url)), "..", "..");
const buildWeb = process.env.TORRENTIX_BUILD_WEB ?? join(root, "build-web");
const nativeCli = join(buildWeb, "host", "torrentix-cli");
const gensamples = join(buildWeb, "host", "tools", "gensamples");
const pageUrl = pathToFileURL(join(buildWeb, "torrentix.html")).href;
const { chromium } = createRequire(join(root, "web", "package.json"))("playwright-core");

const work = mkdtempSync(join(tmpdir(), "torrentix-page-"));
const requests = [];
let context;
let page;

before(async () => {
  context = await chromium.launchPersistentContext(join(work, "profile"), {
    executablePath: "/usr/bin/chromium",
    headless: true,
    acceptDownloads: true,
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
      "--disable-component-update", "--disable-sync"],
  });
  context.on("request", (request) => requests.push(request.url()));
  page = context.pages()[0] ?? (await context.newPage());
});

after(async () => {
  await context?.close();
  rmSync(work, { recursive: true, force: true });
});

async function openPage() {
  await page.goto(pageUrl);
  await page.waitForSelector("body[data-ready=true]", { timeout: 30_000 });
}

// Opens a sample file with a GIG and river type chosen; the options step follows.
async function openSample(path, gig, type) {
  await openPage();
  await page.selectOption("#gig", gig);
  await page.selectOption("#type", type);
  await page.setInputFiles("#file", path);
}

async function runWithOptions({ biological = [], bootstrap = false } = {}) {
  await page.waitForSelector("#options:not([hidden])");
  for (const k of biological) {
    await page.locator("#option-rows tr").nth(k).locator(".bio").check();
  }
  if (bootstrap) {
    await page.check("#bootstrap");
  }
  await page.click("#run");
  await page.waitForSelector("#results:not([hidden])", { timeout: 600_000 });
  if (bootstrap) {
    await page.waitForSelector("#downloads button:has-text('_ci_regressions.tsv')", { timeout: 600_000 });
  }
}

async function downloaded(name) {
  const [download] = await Promise.all([page.waitForEvent("download"), page.click(`#downloads button:has-text('${name}')`)]);
  return readFileSync(await download.path());
}

// A results file without its date and time lines (3 and 4).
function comparable(bytes) {
  return bytes.toString("latin1").split("\r\n").filter((_, i) => i !== 2 && i !== 3).join("\r\n");
}

const examples = [["alpine", "Alp", "R-A1"], ["central-baltic", "Cen", "R-C1"], ["eastern-continental", "Eas", "R-E1"],
  ["mediterranean", "Med", "R-M1"], ["northern", "Nor", "R-N1"]];

test("the five examples give the batch command's results file, table and both tables of intervals", async () => {
  for (const [name, gig, type] of examples) {
    const folder = mkdtempSync(join(work, `${name}-`));
    const sample = join(folder, `${name}.txt`);
    writeFileSync(sample, readFileSync(join(root, "examples", `${name}.txt`)));
    execFileSync(nativeCli, ["--gig", gig, "--type", type, "--bio", "1", "--table", "--bootstrap", "1000", "--seed", "1",
      `${name}.txt`], { cwd: folder, stdio: "ignore" });
    await openSample(sample, gig, type);
    await runWithOptions({ biological: [0], bootstrap: true });
    assert.equal(comparable(await downloaded(`${name}_OUT.txt`)), comparable(readFileSync(join(folder, `${name}_OUT.txt`))), name);
    for (const output of [`${name}_table.tsv`, `${name}_ci.tsv`, `${name}_ci_regressions.tsv`]) {
      assert.deepEqual(await downloaded(output), readFileSync(join(folder, output)), output);
    }
    assert.match(await page.textContent("#report"), /REPORT/);
    assert.match(await page.textContent("#plot-equation"), /y = .*r² = .*m: /);
  }
});

test("unknown names are asked about one at a time, with the dictionary's suggestion", async () => {
  const lines = readFileSync(join(root, "examples", "mediterranean.txt"), "latin1").split("\r\n");
  const header = lines[1].split("\t");
  const hydrobiidae = header.indexOf("HYDROBIIDAE");
  assert.ok(hydrobiidae > 0);
  header[hydrobiidae] = "Potamopyrgus antipodarum";
  lines[1] = header.join("\t");
  const sample = join(work, "species.txt");
  writeFileSync(sample, lines.join("\r\n"), "latin1");
  await openSample(sample, "Med", "R-M1");
  await page.waitForSelector("#question:not([hidden])");
  assert.equal(await page.textContent("#question-count"), "1 of 1 unknown names");
  assert.equal(await page.textContent("#question-evidence"),
    "taxon dictionary: Potamopyrgus antipodarum → TATEIDAE (counted as HYDROBIIDAE by the method's scores and lists)");
  assert.equal(await page.inputValue("#family-search"), "TATEIDAE");
  await page.click("#answer-family");
  await runWithOptions({ biological: [0] });
  const buttons = await page.locator("#downloads button").allTextContents();
  assert.ok(buttons.some((b) => b.includes("species_adj.txt")), buttons.join());
  assert.match(await page.textContent("#report"), /The corrected file has been saved/);
});

test("the genus- and species-level example gives the family-named example's table", async () => {
  const folder = mkdtempSync(join(work, "genera-"));
  const sample = join(folder, "mediterranean-genera.txt");
  writeFileSync(sample, readFileSync(join(root, "examples", "mediterranean-genera.txt")));
  writeFileSync(join(folder, "mediterranean.txt"), readFileSync(join(root, "examples", "mediterranean.txt")));
  execFileSync(nativeCli, ["--gig", "Med", "--type", "R-M1", "--bio", "1", "--table", "mediterranean.txt"],
    { cwd: folder, stdio: "ignore" });
  await openSample(sample, "Med", "R-M1");
  await page.waitForSelector("#question:not([hidden])");
  assert.equal(await page.textContent("#answer-dictionary"), "Use the dictionary's family for all 72 remaining names");
  await page.click("#answer-dictionary");
  await page.waitForSelector("#options:not([hidden])");
  const families = (await page.textContent("#file-facts")).match(/(\d+) families/)[1];
  await runWithOptions({ biological: [0] });
  assert.equal((await page.textContent("#report")).match(/(\d+) Taxa \(Families\)/)[1], families);
  assert.deepEqual(await downloaded("mediterranean-genera_table.tsv"), readFileSync(join(folder, "mediterranean_table.tsv")));
  assert.match(await page.textContent("#report"), /TATEIDAE as HYDROBIIDAE \(column 12\)/);
  assert.match((await downloaded("mediterranean-genera_taxa.tsv")).toString("utf8"),
    /^# mode=asked taxa_map=none [^]*\n12\tPotamopyrgus antipodarum\tTATEIDAE\ttaxon dictionary\tPotamopyrgus antipodarum\tHYDROBIIDAE\n/);
});

test("lines after an empty line inside the data are asked about, and read too when asked", async () => {
  const lines = readFileSync(join(root, "examples", "mediterranean.txt"), "latin1").split("\r\n");
  lines.splice(lines.length - 5, 0, "");
  const sample = join(work, "blank.txt");
  writeFileSync(sample, lines.join("\r\n"), "latin1");
  for (const [button, status] of [["#blank-lines-stop", "116 samples"], ["#blank-lines-read", "120 samples"]]) {
    await openSample(sample, "Med", "R-M1");
    await page.waitForSelector("#blank-lines:not([hidden])");
    assert.equal(await page.textContent("#blank-lines-text"), "4 non-blank lines after the blank line 119 will not be read.");
    await page.click(button);
    await page.waitForSelector("#options:not([hidden])");
    assert.match(await page.textContent("#status"), new RegExp(status));
  }
});

test("the plot's samples are picked by keyboard, and the plot is saved as SVG and PNG", async () => {
  await openSample(join(root, "examples", "mediterranean.txt"), "Med", "R-M1");
  await runWithOptions();
  // The arrow keys go along the test variable from its lowest value: its values as the list
  // sorted by it shows them from the top.
  const column = await sortList("EQR_NAT", "ascending");
  const lowest = await page.$$eval("#list-body .list-row",
    (rows, c) => rows.slice(0, 3).map((row) => row.children[c].textContent), column);
  await page.focus("#plot");
  for (const value of lowest) {
    await page.keyboard.press("ArrowRight");
    const picked = await page.textContent("#plot-picked");
    assert.match(picked, /^MED-\d{4} .*: EQR_NAT 0\.\d{2}, STAR_ICMi \d\.\d{2}$/);
    assert.equal(picked.match(/EQR_NAT (\S+),/)[1], value);
  }
  const [svg] = await Promise.all([page.waitForEvent("download"), page.click("#plot-svg")]);
  assert.match(readFileSync(await svg.path(), "utf8"), /^<svg [^]*<circle [^]*<line [^]*<\/svg>$/);
  const [png] = await Promise.all([page.waitForEvent("download"), page.click("#plot-png")]);
  assert.deepEqual([...readFileSync(await png.path()).subarray(1, 4)], [0x50, 0x4e, 0x47]); // "PNG"
});

// The table the desktop program's tests check too (tests/graphs): each line names a column, the
// sort applied before it to the rows as then shown, and the column's cells from the top down.
test("the results list shows and sorts the case file's numbers as the desktop program does", async () => {
  const sample = join(work, "listforms.txt");
  writeFileSync(sample, readFileSync(join(root, "tests", "data", "listforms.txt")));
  await openSample(sample, "Med", "R-M1");
  await runWithOptions();
  const headers = await page.locator("#list-head button").allTextContents();
  const cellsOf = (header) =>
    page.$$eval("#list-body .list-row", (rows, c) => rows.map((row) => row.children[c].textContent), headers.indexOf(header));
  const [, ...lines] = readFileSync(join(root, "tests", "data", "listforms_expected.tsv"), "utf8").split("\n").filter((l) => l);
  for (const line of lines) {
    const [column, sortedBy, ...cells] = line.split("\t");
    if (sortedBy) {
      await sortList(...sortedBy.split(" "));
    }
    assert.deepEqual(await cellsOf(column), cells, line);
  }
});

// Sorts the results list by a column, "ascending" or "descending"; returns the column's place.
async function sortList(header, direction) {
  const column = (await page.locator("#list-head button").allTextContents()).indexOf(header);
  const columnHeader = page.locator("#list-head [role=columnheader]").nth(column);
  while ((await columnHeader.getAttribute("aria-sort")) !== direction) {
    await columnHeader.locator("button").click();
  }
  return column;
}

test("a request that fails is answered: the page tells the engine's message and waits for nothing", async () => {
  await openPage();
  await page.selectOption("#gig", "Alp");
  await page.workers()[0].evaluate(() => {
    const parse = JSON.parse;
    JSON.parse = () => {
      JSON.parse = parse;
      throw new Error("no memory left");
    };
  });
  await page.setInputFiles("#file", join(root, "examples", "alpine.txt"));
  await page.waitForSelector("#message:not([hidden])");
  assert.equal(await page.textContent("#message"), "The engine failed: Error: no memory left");
  assert.equal(await page.getAttribute("body", "data-waiting"), "0");
  await page.setInputFiles("#file", join(root, "examples", "mediterranean.txt")); // the next is answered as ever
  await page.waitForSelector("#options:not([hidden])");
});

test("a refused file shows the batch command's message", async () => {
  const lines = readFileSync(join(root, "examples", "alpine.txt"), "latin1").split("\r\n");
  const refused = lines.map((line, i) => {
    const cells = line.split("\t");
    if (i >= 2 && cells.length > 3 && (cells[2] === "6" || cells[2] === "5")) {
      cells[2] = "3"; // no Reference and no High sample is left
    }
    return cells.join("\t");
  });
  const sample = join(work, "refused.txt");
  writeFileSync(sample, refused.join("\r\n"), "latin1");
  const cli = spawnSync(nativeCli, ["--gig", "Alp", "--type", "R-A1", sample], { encoding: "utf8" });
  const told = cli.stderr.split("\n").find((line) => line.includes("Number of Refs"));
  assert.ok(told, cli.stderr);
  await openSample(sample, "Alp", "R-A1");
  await page.waitForSelector("#options:not([hidden])");
  await page.click("#run");
  await page.waitForSelector("#message:not([hidden])");
  assert.ok((await page.textContent("#message")).includes(told.slice(told.indexOf("Number of Refs"))), told);
});

// The stages the progress step has told, each once, in order, with the bar's value when each
// was told first; and whether the bar ever went back during a run (it starts at 0, untold).
async function watchStages() {
  await page.evaluate(() => {
    window.stagesTold = [];
    window.barWentBack = false;
    const bar = document.getElementById("progress-bar");
    const stage = document.getElementById("progress-stage");
    let last = 0;
    new MutationObserver(() => {
      if (stage.textContent && stage.textContent !== window.stagesTold.at(-1)?.[0]) {
        window.stagesTold.push([stage.textContent, bar.value]);
      }
      window.barWentBack ||= stage.textContent !== "" && bar.value < last;
      last = bar.value;
    }).observe(document.getElementById("progress"), { attributes: true, childList: true, characterData: true, subtree: true });
  });
}

test("a file of 20,000 samples and 300 families runs through its stages, and its results list holds every sample", async () => {
  const sample = join(work, "large.txt");
  execFileSync(gensamples, ["--output", sample, "--samples", "20000", "--families", "300", "--seed", "3"]);
  await openSample(sample, "Cen", "R-C1");
  await page.waitForSelector("#options:not([hidden])");
  await watchStages();
  await runWithOptions();
  // The file was read when it was opened: the run starts from its rows.
  const stages = await page.evaluate(() => window.stagesTold);
  assert.deepEqual(stages.map(([stage]) => stage), ["Computing the metrics",
    "Normalising the metrics and computing the indices", "Computing the regressions", "Writing the results file",
    "Writing the table", "Preparing the results"]);
  const barAt = Object.fromEntries(stages);
  assert.equal(barAt["Writing the table"], 0.8);
  assert.ok(barAt["Preparing the results"] >= 0.9, String(barAt["Preparing the results"]));
  assert.equal(await page.evaluate(() => window.barWentBack), false);
  const [engine, run] = await page.evaluate(() => ["engine", "run"].map((n) => performance.getEntriesByName(n)[0].duration));
  console.log(`20,000 samples x 300 families in the page: ${Math.round(run)} ms, ${Math.round(engine)} ms of them in the engine`);
  assert.equal(await page.getAttribute("#list", "aria-rowcount"), "20001");
  await page.locator("#list-head button").nth(4).click(); // sorted by the STAR_ICMi
  assert.match(await page.textContent("#plot-equation"), /n = \d+/);
  // Cancelling the bootstrap ends it at once and keeps the run's views.
  await page.click("#run-again");
  await page.check("#bootstrap");
  await page.click("#run");
  await page.waitForFunction(() => !document.getElementById("results").hidden && !document.getElementById("progress").hidden);
  await page.click("#cancel");
  await page.waitForSelector("#progress", { state: "hidden" });
  assert.equal(await page.isVisible("#results"), true);
  assert.equal(await page.locator("#downloads button:has-text('_ci.tsv')").count(), 0);
});

test("the read of a file is cancelled, and the file forgotten", async () => {
  await openPage();
  // The engine holds the read: it answers only once cancelled, that is never.
  await page.workers()[0].evaluate(() => {
    const answer = self.onmessage;
    self.onmessage = (event) => event.data.kind !== "inspect" && answer(event);
  });
  await page.setInputFiles("#file", join(root, "examples", "alpine.txt"));
  await page.waitForSelector("#progress:not([hidden])");
  assert.equal(await page.textContent("#progress-title"), "Working…");
  await page.setInputFiles("#file", join(root, "examples", "northern.txt")); // waits for the read's end or cancel
  assert.equal(await page.textContent("#status"), "Cancel the work in progress before opening another file.");
  await page.click("#cancel");
  await page.waitForSelector("#start:not([hidden])");
  assert.equal(await page.getAttribute("body", "data-waiting"), "0");
  assert.equal(await page.textContent("#status"), "Cancelled.");
  await page.setInputFiles("#file", join(root, "examples", "mediterranean.txt")); // a new engine reads the next
  await page.waitForSelector("#options:not([hidden])");
});

// The sample files the page hands to its engine, counted as they are posted to it.
async function countFilesSent() {
  await page.addInitScript(() => {
    const post = Worker.prototype.postMessage;
    window.filesSent = 0;
    Worker.prototype.postMessage = function (message, transfer) {
      window.filesSent += message?.bytes ? 1 : 0;
      return post.call(this, message, transfer);
    };
  });
}

test("the file read when opened is run as often as asked without being read again; a cancelled run reads it anew", async () => {
  await countFilesSent();
  await openSample(join(root, "examples", "mediterranean.txt"), "Med", "R-M1");
  await runWithOptions();
  const first = comparable(await downloaded("mediterranean_OUT.txt"));
  // Run again with another lower value of EQR_NAT: the plot draws the new run's normalised
  // values, its x axis starting at the lowest of them.
  await page.click("#run-again");
  await page.locator("#option-rows tr").nth(0).locator(".min").fill("0.5");
  await runWithOptions();
  assert.equal(await page.evaluate(() => window.filesSent), 1);
  const [header, ...rows] = (await downloaded("mediterranean_table.tsv")).toString().trim().split("\n").map((l) => l.split("\t"));
  const lowest = Math.min(...rows.map((row) => row[header.indexOf("EQR_NAT_norm")]).filter((c) => c).map(Number));
  assert.match(await page.textContent("#plot-caption"), /STAR_ICMi against EQR_NAT/);
  const [svg] = await Promise.all([page.waitForEvent("download"), page.click("#plot-svg")]);
  assert.equal(readFileSync(await svg.path(), "utf8").match(/font-size="11">(\S+)<\/text>/)[1], lowest.toFixed(2));
  // The engine holds the run: it answers only once cancelled, that is never. Its rows go
  // with it, and the next run has a new engine read the file first.
  await page.click("#run-again");
  await page.workers()[0].evaluate(() => {
    const answer = self.onmessage;
    self.onmessage = (event) => event.data.kind !== "run" && answer(event);
  });
  await page.click("#run");
  await page.waitForSelector("#progress:not([hidden])");
  await page.click("#cancel");
  await page.waitForSelector("#results:not([hidden])"); // the last run's views are kept
  assert.equal(await page.textContent("#status"), "Cancelled.");
  await page.click("#run-again");
  await runWithOptions();
  assert.equal(await page.evaluate(() => window.filesSent), 2);
  assert.equal(comparable(await downloaded("mediterranean_OUT.txt")), first);
  assert.equal(await page.getAttribute("#list", "aria-rowcount"), "121");
});

test("no request leaves the page", () => {
  const foreign = requests.filter((url) => url !== pageUrl && !url.startsWith("blob:") && !url.startsWith("data:"));
  assert.deepEqual(foreign, []);
  assert.ok(requests.includes(pageUrl));
});
