// The page's steps as a user takes them in headless Chromium: every answer to an unknown name
// the user's own, a file chosen again or dropped anywhere, the PNG in print colours under the
// desktop's caption, the focus handed on from step to step, axe-core's checks and the
// controls' borders in the light and the dark scheme, and a phone-sized view.

import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { readFileSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { join } from "node:path";
import { openPage, root, startBrowser } from "./browser.mjs";

const axeSource = readFileSync(createRequire(join(root, "web", "package.json")).resolve("axe-core/axe.min.js"), "utf8");
let browser;
let page;

before(async () => {
  browser = await startBrowser("torrentix-steps-");
  page = browser.page;
});

after(async () => {
  await browser?.close();
});

function exampleLines(name) {
  return readFileSync(join(root, "examples", `${name}.txt`), "latin1").split("\r\n");
}

// The Mediterranean example with some of its family columns named otherwise.
function renamed(fileName, names) {
  const lines = exampleLines("mediterranean");
  const header = lines[1].split("\t");
  for (const [family, name] of Object.entries(names)) {
    header[header.indexOf(family)] = name;
  }
  lines[1] = header.join("\t");
  const path = join(browser.work, fileName);
  writeFileSync(path, lines.join("\r\n"), "latin1");
  return path;
}

async function open(path, gig = "Med", type = "R-M1") {
  await openPage(page);
  await page.selectOption("#gig", gig);
  await page.selectOption("#type", type);
  await page.setInputFiles("#file", path);
}

async function runAsOffered() {
  await page.waitForSelector("#options:not([hidden])");
  await page.click("#run");
  await page.waitForSelector("#results:not([hidden])", { timeout: 600_000 });
}

const focusedIn = (id) => page.evaluate((id) => document.getElementById(id).contains(document.activeElement), id);

test("every answer to an unknown name is the user's own; the dictionary answers exactly the names it knows", async () => {
  // A guess from leading letters, three names the dictionary knows, one it disputes.
  await open(renamed("asked.txt", {
    HYDROBIIDAE: "Ephemerra danica",
    LYMNAEIDAE: "Potamopyrgus antipodarum",
    MELANOPSIDAE: "Hydrobius fuscipes",
    PHYSIDAE: "Hydrobius novus",
    THIARIDAE: "Hydrobius",
  }));
  await page.waitForSelector("#question:not([hidden])");
  assert.equal(await page.textContent("#question-count"), "1 of 5 unknown names");
  assert.equal(await page.inputValue("#family-search"), "EPHEMERELLIDAE"); // the guess, offered
  assert.equal(await page.textContent("#answer-dictionary"), "Use the dictionary's family for all 3 remaining names");
  await page.click("#answer-dictionary");
  // The three are answered, the guess is still asked, and nothing is left for the button.
  assert.equal(await page.textContent("#question-count"), "1 of 5 unknown names");
  assert.equal(await page.isVisible("#answer-dictionary"), false);
  await page.fill("#family-search", "");
  assert.equal(await page.isDisabled("#answer-family"), true); // no family, no answer
  await page.press("#family-search", "Enter");
  assert.equal(await page.textContent("#question-count"), "1 of 5 unknown names");
  await page.fill("#family-search", "baetidae");
  await page.press("#family-search", "Enter");
  // The disputed name: no family chosen, OK waits for one; its column left out by its own button.
  assert.equal(await page.textContent("#question-count"), "4 of 5 unknown names");
  assert.match(await page.textContent("#question-evidence"), /They disagree: choose the family/);
  assert.equal(await page.inputValue("#family-search"), "");
  assert.equal(await page.isDisabled("#answer-family"), true);
  await page.click("#answer-ignore");
  // The options count the families as the report will.
  await page.waitForSelector("#options:not([hidden])");
  const families = (await page.textContent("#file-facts")).match(/(\d+) families/)[1];
  await runAsOffered();
  assert.equal((await page.textContent("#report")).match(/(\d+) Taxa \(Families\)/)[1], families);
  const [record] = await Promise.all([page.waitForEvent("download"), page.click("#downloads button:has-text('asked_taxa.tsv')")]);
  const taxa = readFileSync(await record.path(), "utf8");
  for (const name of ["Potamopyrgus antipodarum\tTATEIDAE\ttaxon dictionary", "Hydrobius fuscipes\tHYDROPHILIDAE\ttaxon dictionary"]) {
    assert.ok(taxa.includes(name), taxa);
  }
});

test("a file chosen again, after it was mended or after \"Another file\", or dropped anywhere, is read", async () => {
  const path = join(browser.work, "mended.txt");
  writeFileSync(path, "not a sample file\r\n");
  await open(path);
  await page.waitForSelector("#message:not([hidden])");
  writeFileSync(path, readFileSync(join(root, "examples", "mediterranean.txt")));
  await page.setInputFiles("#file", path);
  await runAsOffered();
  await page.click("#new-file");
  await page.setInputFiles("#file", path);
  await page.waitForSelector("#options:not([hidden])");
  // The last run's views are let go with its file.
  assert.equal(await page.getAttribute("#list", "aria-rowcount"), "1");
  assert.equal(await page.locator("#downloads button").count(), 0);
  // A drop outside the drop zone, on the options step: the browser is kept from opening the
  // file, and the page reads it.
  await page.click("#back");
  const kept = await page.evaluate((text) => {
    const data = new DataTransfer();
    data.items.add(new File([text], "dropped.txt", { type: "text/plain" }));
    const target = document.querySelector("h1");
    const over = target.dispatchEvent(new DragEvent("dragover", { dataTransfer: data, bubbles: true, cancelable: true }));
    const dropped = target.dispatchEvent(new DragEvent("drop", { dataTransfer: data, bubbles: true, cancelable: true }));
    return [over, dropped];
  }, readFileSync(join(root, "examples", "mediterranean.txt"), "latin1"));
  assert.deepEqual(kept, [false, false]); // both cancelled: nothing left to the browser
  await page.waitForSelector("#options:not([hidden])");
  assert.match(await page.textContent("#file-facts"), /^dropped\.txt: 120 samples/);
});

// The PNG's pixels as the page reads them back: the corners' colour and alpha, and how many
// dark pixels lie in its top tenth (the caption) and in all of it.
async function pngPixels(bytes) {
  return page.evaluate(async (base64) => {
    const image = new Image();
    image.src = `data:image/png;base64,${base64}`;
    await image.decode();
    const canvas = document.createElement("canvas");
    canvas.width = image.width;
    canvas.height = image.height;
    const ctx = canvas.getContext("2d");
    ctx.drawImage(image, 0, 0);
    const { data } = ctx.getImageData(0, 0, image.width, image.height);
    const at = (x, y) => [...data.subarray(4 * (y * image.width + x), 4 * (y * image.width + x) + 4)];
    let darkTop = 0;
    let dark = 0;
    for (let i = 0; i < data.length; i += 4) {
      if (data[i + 3] > 200 && data[i] + data[i + 1] + data[i + 2] < 150) {
        dark += 1;
        darkTop += i / 4 < image.width * Math.floor(image.height / 10) ? 1 : 0;
      }
    }
    return { corners: [at(0, 0), at(image.width - 1, image.height - 1)], darkTop, dark };
  }, bytes.toString("base64"));
}

// The text of a PNG's "Title" chunk.
function pngTitle(bytes) {
  for (let at = 8; at < bytes.length;) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString("latin1", at + 4, at + 8);
    const data = bytes.subarray(at + 8, at + 8 + length);
    if (type === "tEXt" && data.toString("latin1").startsWith("Title\0")) {
      return data.toString("latin1", 6);
    }
    at += 12 + length;
  }
  return null;
}

test("the PNG is black on white under the desktop's caption, in the dark scheme too", async () => {
  await page.emulateMedia({ colorScheme: "dark" });
  try {
    await open(join(root, "examples", "mediterranean.txt"));
    await runAsOffered();
    const gig = await page.$eval("#gig", (select) => select.selectedOptions[0].text);
    const caption = `mediterranean.txt · ${gig} · R-M1 · STAR_ICMi against EQR_NAT (normalised)`;
    assert.equal(await page.textContent("#plot-caption"), caption);
    const [download] = await Promise.all([page.waitForEvent("download"), page.click("#plot-png")]);
    const png = readFileSync(await download.path());
    assert.equal(pngTitle(png), caption);
    const pixels = await pngPixels(png);
    assert.deepEqual(pixels.corners, [[255, 255, 255, 255], [255, 255, 255, 255]]);
    assert.ok(pixels.darkTop > 50 && pixels.dark > 2000, JSON.stringify(pixels)); // caption, axes and their texts
  } finally {
    await page.emulateMedia({ colorScheme: "light" });
  }
});

test("each step hands the focus on, and the taxa map is imported by keyboard", async () => {
  await openPage(page);
  await page.focus("#map-edit");
  await page.keyboard.press("Tab");
  assert.equal(await page.evaluate(() => document.activeElement.id), "map-import-button");
  // Enter asks for the file: the file input is clicked (its dialog kept closed here).
  await page.evaluate(() => document.getElementById("map-import").addEventListener("click", (event) => {
    event.preventDefault();
    window.importAsked = true;
  }));
  await page.keyboard.press("Enter");
  assert.equal(await page.evaluate(() => window.importAsked), true);
  const map = join(browser.work, "map.tsv");
  writeFileSync(map, "Ephemerra danica\tEPHEMERIDAE\n");
  await page.setInputFiles("#map-import", map);
  await page.waitForFunction(() => document.getElementById("map-count").textContent === "Taxa map: 1 name(s)");
  await page.evaluate(() => localStorage.clear());
  await open(join(root, "examples", "mediterranean.txt"));
  await page.waitForSelector("#options:not([hidden])");
  assert.equal(await focusedIn("options"), true);
  await page.click("#run");
  await page.waitForSelector("#results:not([hidden])", { timeout: 600_000 });
  assert.equal(await focusedIn("results"), true);
  await page.click("#new-file");
  assert.equal(await page.evaluate(() => document.activeElement.id), "choose-file");
});

// axe-core's findings that are serious or critical, as "rule: element, element".
async function axeFindings() {
  if (!(await page.evaluate(() => "axe" in window))) {
    await page.evaluate(axeSource);
  }
  return page.evaluate(async () => {
    // With the experimental rule that a control's name holds its visible text.
    const result = await window.axe.run(document, {
      resultTypes: ["violations"],
      rules: { "label-content-name-mismatch": { enabled: true } },
    });
    return result.violations
      .filter((v) => v.impact === "serious" || v.impact === "critical")
      .map((v) => `${v.id} (${v.impact}): ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
  });
}

// Each visible control whose border stands out less than 3:1 from the background behind it.
function faintBorders() {
  return page.evaluate(() => {
    const rgb = (text) => text.match(/[\d.]+/g).map(Number);
    const luminance = ([r, g, b]) => {
      const lin = (c) => (c / 255 <= 0.03928 ? c / 255 / 12.92 : ((c / 255 + 0.055) / 1.055) ** 2.4);
      return 0.2126 * lin(r) + 0.7152 * lin(g) + 0.0722 * lin(b);
    };
    const background = (element) => {
      for (let e = element.parentElement; e; e = e.parentElement) {
        const colour = rgb(getComputedStyle(e).backgroundColor);
        if (colour.length < 4 || colour[3] > 0) {
          return colour;
        }
      }
      return [255, 255, 255];
    };
    const faint = [];
    for (const control of document.querySelectorAll("button, select, input:not([type=checkbox]):not([type=file]), textarea")) {
      const style = getComputedStyle(control);
      if (control.offsetParent === null || style.borderTopStyle === "none" || parseFloat(style.borderTopWidth) === 0) {
        continue;
      }
      const [a, b] = [luminance(rgb(style.borderTopColor)), luminance(background(control))];
      const ratio = (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05);
      if (ratio < 3) {
        faint.push(`${control.id || control.textContent}: ${ratio.toFixed(2)}`);
      }
    }
    return faint;
  });
}

test("axe-core finds nothing serious or critical, and the controls' borders stand out, in either scheme", async () => {
  const sample = renamed("axe.txt", { HYDROBIIDAE: "Hydrobius novus" });
  for (const scheme of ["light", "dark"]) {
    await page.emulateMedia({ colorScheme: scheme });
    const findings = {};
    await openPage(page);
    findings.start = [...(await axeFindings()), ...(await faintBorders())];
    await page.selectOption("#gig", "Med");
    await page.selectOption("#type", "R-M1");
    await page.setInputFiles("#file", sample);
    await page.waitForSelector("#question:not([hidden])");
    findings.question = [...(await axeFindings()), ...(await faintBorders())];
    await page.click("#answer-ignore");
    await page.waitForSelector("#options:not([hidden])");
    findings.options = [...(await axeFindings()), ...(await faintBorders())];
    await runAsOffered();
    findings.results = [...(await axeFindings()), ...(await faintBorders())];
    assert.deepEqual(findings, { start: [], question: [], options: [], results: [] }, scheme);
  }
  await page.emulateMedia({ colorScheme: "light" });
});

test("at 320 pixels wide nothing is wider than the view, and the list's headers move with their columns", async () => {
  await page.setViewportSize({ width: 320, height: 640 });
  try {
    // The lists of GIGs and of river types, whichever GIG is chosen.
    await openPage(page);
    for (const gig of await page.$$eval("#gig option", (options) => options.map((o) => o.value))) {
      await page.selectOption("#gig", gig);
      const rights = await page.$$eval("#gig, #type", (selects) => selects.map((s) => s.getBoundingClientRect().right));
      assert.ok(Math.max(...rights) <= 320, `${gig}: ${rights}`);
    }
    await open(join(root, "examples", "mediterranean.txt"));
    await runAsOffered();
    await page.waitForFunction(() => document.querySelector("#plot canvas")?.getBoundingClientRect().right <= 320);
    const wider = await page.evaluate(() => {
      const list = document.getElementById("list");
      return [...document.querySelectorAll("body *")]
        .filter((e) => !list.contains(e) || e === list)
        .filter((e) => e.getClientRects().length > 0 && e.getBoundingClientRect().right > document.documentElement.clientWidth + 0.5)
        .map((e) => `${e.tagName}#${e.id}.${e.className}: ${Math.round(e.getBoundingClientRect().right)}`);
    });
    assert.deepEqual(wider, []);
    assert.equal(await page.evaluate(() => document.documentElement.scrollWidth), 320);
    // Scrolled sideways, each header still stands over its column's cells.
    const lefts = await page.evaluate(() => {
      const list = document.getElementById("list");
      list.scrollLeft = 200;
      list.dispatchEvent(new Event("scroll"));
      const heads = [...document.querySelectorAll("#list-head [role=columnheader]")];
      const cells = [...document.querySelector("#list-body .list-row").children];
      return heads.map((h, i) => [Math.round(h.getBoundingClientRect().left), Math.round(cells[i].getBoundingClientRect().left)]);
    });
    assert.ok(lefts.length >= 9);
    for (const [head, cell] of lefts) {
      assert.equal(head, cell, JSON.stringify(lefts));
    }
  } finally {
    await page.setViewportSize({ width: 1280, height: 720 });
  }
});

test("a faulty taxa map is told by its line, in plain words", async () => {
  await openPage(page);
  await page.click("#map-edit");
  await page.fill("#map-text", "Ephemerra danica\tNO SUCH FAMILY\n");
  await page.click("#map-save");
  await page.setInputFiles("#file", join(root, "examples", "mediterranean.txt"));
  await page.waitForSelector("#message:not([hidden])");
  assert.equal(await page.textContent("#message"),
    "The taxa map of this page, line 1: the family \"NO SUCH FAMILY\" is not in the taxa database.");
  await page.evaluate(() => localStorage.clear());
});
