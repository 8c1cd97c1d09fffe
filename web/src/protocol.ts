// The messages between the page and the engine's Web Worker.

export interface Suggestion {
  id: number;
  family: string;
  source: string;
  matched: string;
  guess: boolean;
}

export interface UnknownName {
  name: string;
  suggestion: Suggestion | null;
  known: Suggestion | null;
  typeGenus: Suggestion | null;
  disputed: boolean;
  dictionaryAnswer: Suggestion | null;
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
  families: number;
  notes: string[];
  doubtful: string;
  testVariables: TestVariableFacts[];
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
  bandHalfWidths?: number[];
}

// The samples as columns, one array per field.
export interface SampleColumns {
  code: string[];
  name: string[];
  class: number[];
  star: number[];
  gig: number[];
  tests: string[][]; // per test variable, its cells as read ("N/A" when not numeric)
  x: (number | null)[][]; // per test variable, its normalised values
}

export interface RunView {
  ok: true;
  refused: boolean;
  messages: string[];
  gigIndex: string;
  classCounts: number[];
  classNames: string[];
  testVariables?: string[];
  samples?: SampleColumns;
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
  star: Interval[];
  gig: Interval[];
  regressions: { star: boolean; variable: number; counted: number; m: Interval; b: Interval; r2: Interval; band: Interval[] }[];
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
  taxaMap: string;
  decimalComma: boolean;
  date: string;
  time: string;
  table: boolean;
}

export type ToWorker =
  | { kind: "inspect"; fileName: string; bytes: Uint8Array; taxaMap: string; decimalComma: boolean }
  | { kind: "run"; request: RunRequest }
  | { kind: "intervals"; replicates: number; seed: number };

export interface OutputFile {
  name: string;
  bytes: Uint8Array;
}

export type FromWorker =
  | { kind: "ready"; catalogue: Catalogue }
  | { kind: "failed"; error: string }
  | { kind: "progress"; fraction: number }
  | { kind: "inspected"; answer: Inspection | Failure }
  | { kind: "ran"; answer: RunView | Failure; files: OutputFile[] }
  | { kind: "intervals"; answer: IntervalsView | Failure; files: OutputFile[] };
