// The page: the desktop program's workflow over the engine in a Web Worker. START (GIG,
// river type, a sample file opened or dropped, the taxa map), the questions about unknown
// names, the options of the test variables, then RESULTS (report, class histogram, results
// list, downloads) and GRAPHS (scatter plots). Nothing leaves the computer.

import workerSource from "worker-source";
import { download } from "./downloads";
import { drawHistogram } from "./histogram";
import { ScatterPlot, type PlotData } from "./plot";
import { plotPoints } from "./plotpoints";
import type { Answer, Catalogue, Failure, FromWorker, Inspection, IntervalsView, OutputFile, Request, RunView, UnknownName, ViewArrays } from "./protocol";
import { cellText, ResultsList } from "./resultslist";
import { entryCount, loadTaxaMap, saveTaxaMap, withAnswer } from "./taxamap";

const $ = <T extends HTMLElement = HTMLElement>(id: string) => document.getElementById(id) as T;
const sections = ["start", "blank-lines", "question", "options", "progress", "results"];

interface FileState {
  name: string;
  source: File; // read anew only when an engine that holds none of its rows needs them
  readBy?: Worker; // the engine that read it last and keeps its rows for the runs
  decimalComma: boolean;
  readPastBlankLines: boolean; // empty lines inside the data are skipped, as the user asked
  stopAtBlankLine: boolean; // the data end at the first empty line, as the user agreed
  inspection?: Inspection;
  answers: Record<string, number>;
  byDictionary: string[]; // the names answered with the dictionary's family for all remaining names
}

let worker: Worker;
let catalogue: Catalogue;
let file: FileState | null = null;
let run: RunView | null = null;
let runViews: ViewArrays | null = null;
let intervals: IntervalsView | null = null;
let intervalViews: ViewArrays | null = null;
let outputs: OutputFile[] = [];
let runLabel = ""; // the run's file, GIG and river type, as the figures' captions begin
let taxaMap = loadTaxaMap();
const list = new ResultsList($("list"), $("list-head"), $("list-body"));
const plot = new ScatterPlot($("plot"), describePicked);

function show(section: string, extra: string[] = []): void {
  for (const id of sections) {
    $(id).hidden = id !== section && !extra.includes(id);
  }
}

// Each step hands the focus to what is to be done next: its heading (read first, then Tab
// goes on into the step), or on START the button that opens a file.
function showStep(section: string, extra: string[] = []): void {
  show(section, extra);
  (section === "start" ? $("choose-file") : $(`${section}-title`)).focus();
}

function startProgress(extra: string[] = []): void {
  ($("progress-bar") as HTMLProgressElement).value = 0;
  $("progress-stage").textContent = "";
  showStep("progress", extra);
}

// The run and its views let go, when another file is opened.
function forgetRun(): void {
  run = null;
  runViews = null;
  intervals = null;
  intervalViews = null;
  outputs = [];
  list.clear();
  plot.clear();
  $("downloads").replaceChildren();
}

function status(text: string): void {
  $("status").textContent = text;
}

function message(text: string): void {
  const box = $("message");
  box.textContent = text;
  box.hidden = text === "";
}

// The requests the page waits the engine's answer for, by number: each is settled by its
// answer, its failure, the end of the worker or a cancel, never left waiting. The body's
// data-waiting tells how many there are.
interface Waiter {
  resolve: (answer: Answer) => void;
  reject: (error: Error) => void;
}
const waiting = new Map<number, Waiter>();
let requestCount = 0;

// The end of a request the user cancelled: nothing to tell.
class Cancelled extends Error {}

function countWaiting(): void {
  document.body.dataset.waiting = String(waiting.size);
}

// Settles the request `id`, or every request when none is named.
function settle(id: number | undefined, outcome: (w: Waiter) => void): void {
  const ids = id === undefined ? [...waiting.keys()] : [id];
  for (const k of ids) {
    const w = waiting.get(k);
    waiting.delete(k);
    if (w) {
      outcome(w);
    }
  }
  countWaiting();
}

function startWorker(): Promise<void> {
  worker?.terminate();
  settle(undefined, (w) => w.reject(new Cancelled("Cancelled.")));
  document.body.dataset.engine = "starting";
  worker = new Worker(URL.createObjectURL(new Blob([workerSource], { type: "text/javascript" })));
  return new Promise((resolve, reject) => {
    worker.onmessage = (event: MessageEvent<FromWorker>) => {
      const m = event.data;
      if (m.kind === "ready") {
        catalogue = m.catalogue;
        document.body.dataset.engine = "ready";
        resolve();
      } else if (m.kind === "progress") {
        ($("progress-bar") as HTMLProgressElement).value = m.fraction;
        if ($("progress-stage").textContent !== m.stage) {
          $("progress-stage").textContent = m.stage;
        }
      } else if (m.kind === "failed") {
        if (m.id === undefined) {
          reject(new Error(m.error));
        }
        settle(m.id, (w) => w.reject(new Error(m.error)));
      } else {
        settle(m.id, (w) => w.resolve(m));
      }
    };
    // An error the worker did not catch ends every request it had.
    worker.onerror = (event) => {
      const error = new Error(event.message || "The engine stopped.");
      reject(error);
      settle(undefined, (w) => w.reject(error));
    };
  });
}

function ask(request: Request, transfer: Transferable[] = []): Promise<Answer> {
  return new Promise((resolve, reject) => {
    const id = ++requestCount;
    waiting.set(id, { resolve, reject });
    countWaiting();
    worker.postMessage({ ...request, id }, transfer);
  });
}

function engineFailed(error: unknown): void {
  showStep("start");
  message(`The engine failed: ${error instanceof Error ? error.message : String(error)}`);
}

// Waits for a step that asks the engine: a failure is shown on START with the engine's
// message, a cancelled request ends quietly.
async function guarded(step: () => Promise<void>): Promise<void> {
  try {
    await step();
  } catch (error) {
    if (!(error instanceof Cancelled)) {
      engineFailed(error);
    }
  }
}

// The sample file's bytes for its reading, handed over to the worker without a further copy.
async function fileRequest(): Promise<{ fileName: string; bytes: Uint8Array; transfer: Transferable[] }> {
  const bytes = new Uint8Array(await file!.source.arrayBuffer());
  return { fileName: file!.name, bytes, transfer: [bytes.buffer] };
}

// START --------------------------------------------------------------------------------

function fillCatalogue(): void {
  const gig = $<HTMLSelectElement>("gig");
  gig.replaceChildren(...catalogue.gigs.map((g) => new Option(g.name, g.short)));
  const fillTypes = () => {
    const chosen = catalogue.gigs.find((g) => g.short === gig.value) ?? catalogue.gigs[0];
    $<HTMLSelectElement>("type").replaceChildren(...chosen.types.map((t) => new Option(t.caption, t.code)));
  };
  gig.addEventListener("change", fillTypes);
  fillTypes();
  $("family-list").replaceChildren(...catalogue.families.map((f) => new Option(`${f.group}: ${f.family}`, f.family)));
}

function showMapCount(): void {
  $("map-count").textContent = `Taxa map: ${entryCount(taxaMap)} name(s)`;
}

async function openFile(chosen: File): Promise<void> {
  if (!$("progress").hidden) {
    status("Cancel the work in progress before opening another file.");
    return;
  }
  forgetRun();
  file = {
    name: chosen.name,
    source: chosen,
    decimalComma: false,
    readPastBlankLines: false,
    stopAtBlankLine: false,
    answers: {},
    byDictionary: [],
  };
  await guarded(inspect);
}

// Has the engine read the file (the engine keeps its rows): its findings, or its refusal.
async function readFile(): Promise<Inspection | Failure | null> {
  const reading = file!;
  const engine = worker;
  const { fileName, bytes, transfer } = await fileRequest();
  if (worker !== engine || file !== reading) {
    throw new Cancelled("Cancelled."); // while the file was taken from the disk
  }
  const answer = await ask(
    { kind: "inspect", fileName, bytes, taxaMap, decimalComma: reading.decimalComma, readPastBlankLines: reading.readPastBlankLines },
    transfer,
  );
  if (answer.kind !== "inspected") {
    return null;
  }
  reading.readBy = answer.answer.ok ? engine : undefined;
  return answer.answer;
}

async function inspect(): Promise<void> {
  if (!file) {
    return;
  }
  message("");
  status(`Reading ${file.name}…`);
  file.inspection = undefined;
  startProgress(); // Cancel stops the read
  const inspection = await readFile();
  if (!inspection) {
    return;
  }
  if (!inspection.ok) {
    refuse(inspection);
    return;
  }
  file.inspection = inspection;
  file.answers = {};
  file.byDictionary = [];
  status(`${file.name}: ${inspection.samples} samples`);
  if (inspection.linesAfterBlank && !file.stopAtBlankLine) {
    askAboutLinesAfterBlank(inspection.linesAfterBlank);
    return;
  }
  questionAt(0);
}

// Asked before any name: the lines after an empty line inside the data are read too (the
// file read again, its empty lines skipped), left out as the method does, or the file dropped.
function askAboutLinesAfterBlank(text: string): void {
  showStep("blank-lines");
  $("blank-lines-text").textContent = text;
  $("blank-lines-read").onclick = () => {
    file!.readPastBlankLines = true;
    void guarded(inspect);
  };
  $("blank-lines-stop").onclick = () => {
    file!.stopAtBlankLine = true;
    questionAt(0);
  };
  $("blank-lines-cancel").onclick = () => {
    file = null;
    showStep("start");
    status("No file read.");
  };
}

function refuse(failure: Failure): void {
  showStep("start");
  status("The file cannot be used.");
  message(failure.error);
  if (failure.decimalComma && file) {
    const retry = document.createElement("button");
    retry.type = "button";
    retry.textContent = "Read the commas as decimal points";
    retry.addEventListener("click", () => {
      file!.decimalComma = true;
      void guarded(inspect);
    });
    $("message").append(document.createElement("br"), retry);
    retry.focus();
  }
}

// Unknown names ------------------------------------------------------------------------

function describeEvidence(u: UnknownName): string {
  return u.evidence || "No family suggested.";
}

function answered(name: string): boolean {
  return Object.prototype.hasOwnProperty.call(file!.answers, name);
}

// The first name from `index` on that has no answer yet (those the dictionary's family
// answered for all remaining names are passed).
function nextQuestion(index: number): void {
  const unknown = file?.inspection?.unknown ?? [];
  let next = index;
  while (next < unknown.length && answered(unknown[next].name)) {
    ++next;
  }
  questionAt(next);
}

function familyNamed(text: string): Catalogue["families"][number] | undefined {
  const name = text.trim().toUpperCase();
  return catalogue.families.find((f) => f.family === name);
}

// Every answer is the user's own: "Use this family" only with a family of the database
// chosen (none is chosen for a disputed name), leaving the column out its own button.
function questionAt(index: number): void {
  const unknown = file?.inspection?.unknown ?? [];
  if (index >= unknown.length) {
    showOptions();
    return;
  }
  const u = unknown[index];
  show("question");
  $("question-count").textContent = `${index + 1} of ${unknown.length} unknown names`;
  $("question-name").textContent = u.name.replace(/ /g, "␣").replace(/[\x00-\x1f]/g, (c) => `\\x${c.charCodeAt(0).toString(16).padStart(2, "0")}`);
  $("question-evidence").textContent = describeEvidence(u);
  const search = $<HTMLInputElement>("family-search");
  const useFamily = $<HTMLButtonElement>("answer-family");
  search.value = u.disputed ? "" : u.suggestion?.family ?? "";
  search.oninput = () => (useFamily.disabled = !familyNamed(search.value));
  search.oninput(new Event("input"));
  search.onkeydown = (e) => {
    if (e.key === "Enter" && !useFamily.disabled) {
      e.preventDefault();
      useFamily.click();
    }
  };
  search.focus();
  // The names from here on that the dictionary knows, none of them disputed: those the
  // button answers; guesses and disputed names stay to be asked.
  const known = unknown.slice(index).filter((n) => n.dictionaryAnswer && !n.disputed && !answered(n.name));
  const all = $("answer-dictionary");
  all.hidden = known.length === 0 || (known.length === 1 && known[0] === u);
  all.textContent = known.length === 1 ? "Use the dictionary's family for the 1 remaining name it knows" : `Use the dictionary's family for all ${known.length} remaining names`;
  const answer = (family: string | null) => {
    const record = family === null ? null : familyNamed(family);
    if (family !== null && !record) {
      $("question-evidence").textContent = `"${family}" is not a family of the taxa database. ${describeEvidence(u)}`;
      return;
    }
    file!.answers[u.name] = record ? record.id : 0;
    if ($<HTMLInputElement>("remember").checked) {
      taxaMap = withAnswer(taxaMap, u.name, record ? record.family : "IGNORE");
      saveTaxaMap(taxaMap);
      showMapCount();
    }
    nextQuestion(index + 1);
  };
  useFamily.onclick = () => answer(search.value);
  $("answer-ignore").onclick = () => answer(null);
  $("answer-abort").onclick = () => {
    showStep("start");
    status("Reading aborted.");
  };
  all.onclick = () => {
    for (const n of known) {
      file!.answers[n.name] = n.dictionaryAnswer!.id;
      file!.byDictionary.push(n.name);
      if ($<HTMLInputElement>("remember").checked) {
        taxaMap = withAnswer(taxaMap, n.name, n.dictionaryAnswer!.family);
      }
    }
    saveTaxaMap(taxaMap);
    showMapCount();
    nextQuestion(index);
  };
}

// Options ------------------------------------------------------------------------------

// The families the run will have: those of the names known or mapped, and those the user
// gave the unknown names.
function familyCount(facts: Inspection): number {
  const names = new Set(facts.familyNames);
  for (const id of Object.values(file!.answers)) {
    const record = catalogue.families.find((f) => f.id === id);
    if (record) {
      names.add(record.family);
    }
  }
  return names.size;
}

function showOptions(): void {
  const facts = file!.inspection!;
  $("file-facts").textContent = [`${file!.name}: ${facts.samples} samples, ${familyCount(facts)} families.`, ...facts.notes, facts.doubtful].filter((t) => t).join(" ");
  $("option-rows").replaceChildren(
    ...facts.testVariables.map((v, k) => {
      const row = document.createElement("tr");
      row.innerHTML = `<th scope="row"></th><td><input type="checkbox" class="observed"></td><td><input class="min" value="0" size="8"> <span class="min-error" role="alert"></span></td><td><input type="checkbox" class="bio"></td>`;
      row.querySelector("th")!.textContent = v.name || `Test variable ${k + 1}`;
      const observed = row.querySelector<HTMLInputElement>(".observed")!;
      const min = row.querySelector<HTMLInputElement>(".min")!;
      const bio = row.querySelector<HTMLInputElement>(".bio")!;
      observed.setAttribute("aria-label", `Observed Min of ${v.name}`);
      min.setAttribute("aria-label", `Min Value of ${v.name}`);
      bio.setAttribute("aria-label", `Biological ${v.name}`);
      for (const input of [observed, min, bio]) {
        input.disabled = !v.usable;
      }
      observed.addEventListener("change", () => {
        min.disabled = observed.checked;
        min.value = observed.checked ? "" : "0";
        row.querySelector(".min-error")!.textContent = "";
      });
      min.addEventListener("blur", () => checkMinValue(row));
      return row;
    }),
  );
  showStep("options");
}

// An empty field means 0 and a decimal comma a decimal point; any other text that is not a
// number stays as typed, marked, and OK waits until it is mended.
function checkMinValue(row: HTMLElement): boolean {
  const min = row.querySelector<HTMLInputElement>(".min")!;
  if (min.disabled) {
    return true;
  }
  const text = min.value.trim().replace(",", ".") || "0";
  const numeric = /^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$/.test(text);
  if (numeric) {
    min.value = text;
  }
  row.querySelector(".min-error")!.textContent = numeric ? "" : "not a number";
  return numeric;
}

// The date and time of a run in the browser's regional forms, as the desktop program writes
// the system's: their no-break spaces (Chromium writes a narrow one before "AM") as plain
// spaces, and ISO 8601 for a form beyond printable ASCII, which a Windows-1252 results file
// could not hold.
function regionalOrIso(regional: string, iso: string): string {
  const plain = regional.replace(/[\u00a0\u202f]/g, " ");
  return /^[\x20-\x7e]+$/.test(plain) ? plain : iso;
}

function dateAndTime(now: Date): { date: string; time: string } {
  const two = (n: number) => String(n).padStart(2, "0");
  return {
    date: regionalOrIso(now.toLocaleDateString(), `${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}`),
    time: regionalOrIso(now.toLocaleTimeString(), `${two(now.getHours())}:${two(now.getMinutes())}:${two(now.getSeconds())}`),
  };
}

async function runFile(): Promise<void> {
  const rows = [...$("option-rows").querySelectorAll("tr")];
  if (!rows.map(checkMinValue).every((ok) => ok)) {
    return;
  }
  runLabel = [file!.name, $<HTMLSelectElement>("gig").selectedOptions[0].text, $<HTMLSelectElement>("type").value].join(" · ");
  const request = {
    gig: $<HTMLSelectElement>("gig").value,
    type: $<HTMLSelectElement>("type").value,
    testVariables: rows.map((row) => ({
      min: row.querySelector<HTMLInputElement>(".min")!.value,
      observedMin: row.querySelector<HTMLInputElement>(".observed")!.checked,
      biological: row.querySelector<HTMLInputElement>(".bio")!.checked,
    })),
    answers: file!.answers,
    byDictionary: file!.byDictionary,
    taxaMap,
    ...dateAndTime(new Date()),
    table: true,
  };
  startProgress();
  // An engine started by a Cancel holds no rows: the file is read again first.
  if (file!.readBy !== worker) {
    status(`Reading ${file!.name}…`);
    const read = await readFile();
    if (!read?.ok) {
      if (read) {
        refuse(read);
      }
      return;
    }
  }
  performance.mark("run-asked"); // marks for the benchmark: engine time and page time
  const answer = await ask({ kind: "run", request });
  performance.measure("engine", "run-asked");
  if (answer.kind !== "ran") {
    return;
  }
  if (!answer.answer.ok) {
    refuse(answer.answer);
    return;
  }
  run = answer.answer;
  runViews = answer.views;
  intervals = null;
  intervalViews = null;
  outputs = answer.files;
  if (run.refused) {
    refuse({ ok: false, error: run.messages.join("\n"), decimalComma: false });
    return;
  }
  showResults(false);
  performance.measure("run", "run-asked");
  if ($<HTMLInputElement>("bootstrap").checked) {
    await runIntervals();
  }
}

async function runIntervals(): Promise<void> {
  startProgress(["results"]);
  const answer = await ask({ kind: "intervals", replicates: 1000, seed: 1 });
  showStep("results");
  if (answer.kind === "intervals" && answer.answer.ok) {
    intervals = answer.answer;
    intervalViews = answer.views;
    outputs = outputs.filter((f) => !answer.files.some((g) => g.name === f.name)).concat(answer.files);
    showResults(true);
  }
}

// RESULTS and GRAPHS -------------------------------------------------------------------

// The views of the run; `sameRows` when only the intervals were added to them.
function showResults(sameRows: boolean): void {
  const r = run!;
  showStep("results");
  status(`${file!.name}: done.`);
  $("describes").textContent = runLabel;
  // The report, then what the batch command tells besides it: the read's notes, the names the
  // taxa map answered, the corrected file and the run's messages.
  const told = [
    ...r.notes,
    r.doubtful,
    ...r.mapped.map((m) => `${m.name} → ${m.family || "ignored"} (taxa map, line ${m.line}${m.dictionary ? `; the taxon dictionary gives ${m.dictionary}` : ""})`),
    r.corrected,
    ...r.messages.filter((m) => !r.report.includes(m)),
  ].filter((text) => text);
  $("report").textContent = [r.report, "", ...told].join("\n").replace(/\r\n/g, "\n");
  drawHistogram($("histogram"), r.classNames, r.classCounts);
  const headers = ["#", "CODE", "SAMPLE", "CLASS", "STAR_ICMi", r.gigIndex, ...(r.testVariables ?? [])];
  const columns = [...(runViews?.list ?? [])];
  if (intervals) {
    headers.push("STAR_ICMi 2.5 %", "STAR_ICMi 97.5 %", `${r.gigIndex} 2.5 %`, `${r.gigIndex} 97.5 %`);
    columns.push(...(intervalViews?.list ?? []));
  }
  list.show(headers, columns, sameRows);
  $("downloads").replaceChildren(
    ...outputs.map((f) => {
      const button = document.createElement("button");
      button.type = "button";
      button.textContent = `Download ${f.name}`;
      button.addEventListener("click", () => download(f.name, f.bytes, "text/plain"));
      return button;
    }),
  );
  const indexSelect = $<HTMLSelectElement>("plot-index");
  indexSelect.replaceChildren(new Option("STAR_ICMi", "star"), new Option(r.gigIndex, "gig"));
  const variableSelect = $<HTMLSelectElement>("plot-variable");
  variableSelect.replaceChildren(...(r.testVariables ?? []).map((name, k) => new Option(name, String(k))));
  const usable = (r.regressions ?? []).findIndex((g) => g.star?.ok);
  variableSelect.value = String(Math.max(0, usable));
  drawPlot();
}

function drawPlot(): void {
  const r = run!;
  const index = $<HTMLSelectElement>("plot-index").value as "star" | "gig";
  const k = Number($<HTMLSelectElement>("plot-variable").value);
  const regression = r.regressions?.[k]?.[index];
  const points = plotPoints(runViews, index, k);
  const ok = regression?.ok === true;
  const band = ok ? (regression!.bandHalfWidths ?? []).map((hw, j) => {
    const x = 0.1 * (j + 1);
    const y = regression!.m! * x + regression!.b!;
    return [y - hw, y + hw];
  }) : [];
  const boot = intervals?.regressions.find((g) => g.star === (index === "star") && g.variable === k);
  // The desktop's caption: file, GIG, river type, then the index against the test variable.
  const yTitle = index === "star" ? "STAR_ICMi" : r.gigIndex;
  const xTitle = `${r.testVariables?.[k] ?? ""} (normalised)`;
  const equation = ok ? `${regression!.equation}   r² = ${regression!.r2Text}   n = ${regression!.n}` : "";
  const data: PlotData = {
    title: `${runLabel} · ${yTitle} against ${xTitle}`,
    equation,
    xTitle,
    yTitle,
    points,
    line: ok ? { m: regression!.m!, b: regression!.b!, xmin: regression!.xmin! } : null,
    band,
    bootstrapBand: boot ? boot.band : [],
  };
  const bootText = boot ? `   m: ${boot.mText[0]} … ${boot.mText[1]}, r²: ${boot.r2Text[0]} … ${boot.r2Text[1]} (95 %)` : "";
  $("plot-equation").textContent = (equation || "No regression for this pair.") + bootText;
  $("plot-caption").textContent = data.title;
  $("plot").setAttribute("aria-label", `Scatter plot of ${data.title}: ${points.samples.length} samples. ${equation}`);
  plot.show(data);
}

// The picked sample in the list's texts: its code, name and the plotted pair's cells.
function describePicked(sample: number): void {
  const r = run!;
  const cell = (column: number) => cellText(runViews!.list[column], sample);
  const index = $<HTMLSelectElement>("plot-index").value === "star" ? 4 : 5;
  const k = Number($<HTMLSelectElement>("plot-variable").value);
  $("plot-picked").textContent =
    `${cell(1)} ${cell(2).trim()}: ${r.testVariables?.[k] ?? ""} ${cell(6 + k)}, ${index === 4 ? "STAR_ICMi" : r.gigIndex} ${cell(index)}`;
}

// Wiring -------------------------------------------------------------------------------

// A file dropped anywhere on the page is opened, never shown by the browser in place of the
// page; other things dragged (text into the taxa map's editor) are left to the browser.
function catchDroppedFiles(): void {
  const carriesFiles = (e: DragEvent) => e.dataTransfer?.types.includes("Files") ?? false;
  window.addEventListener("dragover", (e) => {
    if (carriesFiles(e)) {
      e.preventDefault();
      e.dataTransfer!.dropEffect = "copy";
      document.body.classList.add("over");
    }
  });
  window.addEventListener("dragleave", (e) => {
    if (e.relatedTarget === null) {
      document.body.classList.remove("over");
    }
  });
  window.addEventListener("drop", (e) => {
    if (carriesFiles(e)) {
      e.preventDefault();
      document.body.classList.remove("over");
      const dropped = e.dataTransfer?.files[0];
      if (dropped) {
        void openFile(dropped);
      }
    }
  });
}

// A file input is emptied once its file is read, so that the same file chosen again (mended
// after a refusal, or after "Another file") is read again.
function onFileChosen(input: HTMLInputElement, read: (chosen: File) => Promise<void>): void {
  input.addEventListener("change", () => {
    const chosen = input.files?.[0];
    if (chosen) {
      void read(chosen).finally(() => (input.value = ""));
    }
  });
}

function wire(): void {
  const input = $<HTMLInputElement>("file");
  onFileChosen(input, openFile);
  $("choose-file").addEventListener("click", () => input.click());
  catchDroppedFiles();
  $("map-edit").addEventListener("click", () => {
    $<HTMLTextAreaElement>("map-text").value = taxaMap;
    $("map-editor").hidden = false;
  });
  $("map-save").addEventListener("click", () => {
    taxaMap = $<HTMLTextAreaElement>("map-text").value;
    saveTaxaMap(taxaMap);
    showMapCount();
    $("map-editor").hidden = true;
  });
  $("map-cancel").addEventListener("click", () => ($("map-editor").hidden = true));
  const mapImport = $<HTMLInputElement>("map-import");
  $("map-import-button").addEventListener("click", () => mapImport.click());
  onFileChosen(mapImport, async (chosen) => {
    taxaMap = await chosen.text();
    saveTaxaMap(taxaMap);
    showMapCount();
  });
  $("map-export").addEventListener("click", () => download("taxa-map.tsv", taxaMap, "text/tab-separated-values"));
  $("run").addEventListener("click", () => void guarded(runFile));
  $("back").addEventListener("click", () => showStep("start"));
  $("run-again").addEventListener("click", () => showOptions());
  $("new-file").addEventListener("click", () => showStep("start"));
  $("cancel").addEventListener("click", () => {
    // The engine works without pause: cancelling ends its worker, and what it was asked,
    // and starts a new one. The views keep the last run; the new engine, which holds none of
    // the file's rows, reads the file again before its next run.
    status("Cancelled.");
    if (!file?.inspection) {
      file = null; // cancelled while it was read
    }
    showStep(run ? "results" : file ? "options" : "start");
    startWorker().catch(engineFailed);
  });
  $("plot-index").addEventListener("change", drawPlot);
  $("plot-variable").addEventListener("change", drawPlot);
  $("plot-png").addEventListener("click", async () => download("plot.png", await plot.png(), "image/png"));
  $("plot-svg").addEventListener("click", () => download("plot.svg", plot.svg(), "image/svg+xml"));
  $("plot-copy").addEventListener("click", async () => {
    try {
      await navigator.clipboard.write([new ClipboardItem({ "image/png": await plot.png() })]);
      status("The plot was copied.");
    } catch {
      status("The plot could not be copied here: save it as PNG or SVG instead.");
    }
  });
}

wire();
showMapCount();
show("start");
startWorker().then(
  () => {
    fillCatalogue();
    status("Choose a GIG and a river type, then open a sample file.");
    document.body.dataset.ready = "true";
  },
  engineFailed,
);
