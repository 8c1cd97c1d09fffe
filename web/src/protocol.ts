// The messages between the page and the engine's Web Worker.

export interface Suggestion {
  id: number;
  family: string;
  source: string;
  matched: string;
  guess: boolean;
  countedAs: string; // " (counted as HYDROBIIDAE by the method's scores and lists)", or empty
}

export interface UnknownName {
  name: string;
  suggestion: Suggestion | null;
  known: Suggestion | null;
  typeGenus: Suggestion | null;
  disputed: boolean;
  dictionaryAnswer: Suggestion | null;
  evidence: string; // what the sources say of the name, as the engine words it
}

export interface TestVariableFacts {
  name: string;
  numeric: number;
  usable: boolean;
}

export interface Failure {
  ok: false;
  error: string;
  decimalComma: boolean;
}

export interface Inspection {
  ok: true;
  unknown: UnknownName[];
  mapped: MappedName[];
  samples: number;
  families: number; // before the unknown names are answered
  familyNames: string[]; // the families of the names known or mapped
  notes: string[];
  doubtful: string;
  testVariables: TestVariableFacts[];
  linesAfterBlank: string | null; // "62 non-blank lines after the blank line 61 will not be read."
}

export interface MappedName {
  name: string;
  family: string;
  line: number;
  dictionary?: string;
}

export interface Regression {
  ok: boolean;
  n?: number;
  m?: number;
  b?: number;
  r2?: number;
  xmin?: number;
  equation?: string;
  r2Text?: string;
  bandHalfWidths?: number[];
}

// A column of the results list as the engine made it: its cells' UTF-8 texts one after
// another, where each cell's text ends, and the rank each cell sorts by (0: no value, last
// in either direction).
export interface ListColumn {
  text: Uint8Array;
  ends: Uint32Array;
  ranks: Uint32Array;
}

// The bulk of a run's or its intervals' views, as flat arrays handed over by the worker.
export interface ViewArrays {
  values: Float64Array[]; // the STAR_ICMi, the GIG ICMi, then each test variable's normalised values (NaN: none)
  byTestValue: Uint32Array[]; // per test variable, the samples with a value in its ascending order
  list: ListColumn[]; // "#", CODE, SAMPLE, CLASS, both indices and the three test variables; or the intervals' bounds
}

export interface RunView {
  ok: true;
  refused: boolean;
  messages: string[];
  gigIndex: string;
  classCounts: number[];
  classNames: string[];
  testVariables?: string[];
  regressions?: { star: Regression | null; gig: Regression | null }[];
  report: string;
  notes: string[];
  doubtful: string;
  mapped: MappedName[];
  corrected: string;
  files: string[];
}

export type Interval = [number | null, number | null];

export interface IntervalsView {
  ok: true;
  replicates: number;
  counted: number;
  regressions: {
    star: boolean;
    variable: number;
    counted: number;
    m: Interval;
    b: Interval;
    r2: Interval;
    mText: [string, string];
    r2Text: [string, string];
    band: Interval[];
  }[];
  files: string[];
}

export interface Catalogue {
  families: { id: number; family: string; group: string }[];
  gigs: { name: string; short: string; types: { code: string; caption: string }[] }[];
}

export interface RunRequest {
  gig: string;
  type: string;
  testVariables: { min: string; observedMin: boolean; biological: boolean }[];
  answers: Record<string, number>;
  byDictionary: string[]; // the names the dictionary's family answered, for the record of the names
  taxaMap: string;
  date: string;
  time: string;
  table: boolean;
}

// Each request carries its number, and its answer (or failure) the same number. The file
// comes with its reading ("inspect"), whose rows the engine keeps for the runs: the worker
// keeps no file between requests.
export type Request =
  | { kind: "inspect"; fileName: string; bytes: Uint8Array; taxaMap: string; decimalComma: boolean; readPastBlankLines: boolean }
  | { kind: "run"; request: RunRequest }
  | { kind: "intervals"; replicates: number; seed: number };

export type ToWorker = Request & { id: number };

export interface OutputFile {
  name: string;
  bytes: Uint8Array;
}

export type Answer =
  | { kind: "inspected"; answer: Inspection | Failure }
  | { kind: "ran"; answer: RunView | Failure; files: OutputFile[]; views: ViewArrays }
  | { kind: "intervals"; answer: IntervalsView | Failure; files: OutputFile[]; views: ViewArrays };

// A failure without a request's number is the engine's own: it could not start.
export type FromWorker =
  | { kind: "ready"; catalogue: Catalogue }
  | { kind: "failed"; id?: number; error: string }
  | { kind: "progress"; fraction: number; stage: string }
  | (Answer & { id: number });
