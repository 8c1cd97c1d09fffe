// The scatter plot of an index against a test variable: the samples as points, the
// regression line, its band, and the bootstrap band when intervals were computed. uPlot
// draws it on a canvas (200,000 points stay quick); the same data make the SVG drawing. The
// picked sample is told to the page, which describes it in the engine's texts.

import uPlot from "uplot";

export interface PlotPoint {
  x: number;
  y: number;
  sample: number; // its index in the run
}

export interface PlotData {
  title: string;
  xTitle: string;
  yTitle: string;
  points: PlotPoint[];
  line: { m: number; b: number; xmin: number } | null;
  band: (number | null)[][]; // [lower, upper] at x = 0.1, 0.2, ...
  bootstrapBand: (number | null)[][];
}

type Column = (number | null)[];

// The x values of the points and of the band's grid, ascending, with each series' values.
function columns(d: PlotData): uPlot.AlignedData {
  const sorted = [...d.points].sort((a, b) => a.x - b.x);
  const gridCount = Math.max(d.band.length, d.bootstrapBand.length);
  const entries: { x: number; point?: number; grid?: number }[] = sorted.map((p, i) => ({ x: p.x, point: i }));
  for (let k = 0; k < gridCount; ++k) {
    entries.push({ x: Number((0.1 * (k + 1)).toFixed(1)), grid: k });
  }
  entries.sort((a, b) => a.x - b.x);
  const xs: number[] = [];
  const ys: Column = [];
  const line: Column = [];
  const bands: Column[] = [[], [], [], []];
  for (const e of entries) {
    xs.push(e.x);
    ys.push(e.point === undefined ? null : sorted[e.point].y);
    line.push(d.line && e.x >= d.line.xmin ? d.line.m * e.x + d.line.b : null);
    const at = (band: (number | null)[][], side: number) => (e.grid === undefined ? null : band[e.grid]?.[side] ?? null);
    bands[0].push(at(d.band, 0));
    bands[1].push(at(d.band, 1));
    bands[2].push(at(d.bootstrapBand, 0));
    bands[3].push(at(d.bootstrapBand, 1));
  }
  return [xs, ys, line, ...bands] as uPlot.AlignedData;
}

export class ScatterPlot {
  private plot: uPlot | null = null;
  private data: PlotData | null = null;
  private sortedPoints: PlotPoint[] = [];
  private pickedIndex = -1;

  // The arrow keys step through the samples from left to right, as a click picks one.
  constructor(
    private readonly host: HTMLElement,
    private readonly picked: (sample: number) => void,
  ) {
    host.tabIndex = 0;
    host.addEventListener("keydown", (event) => {
      const step = { ArrowRight: 1, ArrowUp: 1, ArrowLeft: -1, ArrowDown: -1 }[event.key];
      if (step !== undefined && this.sortedPoints.length > 0) {
        event.preventDefault();
        const next = Math.min(this.sortedPoints.length - 1, Math.max(0, this.pickedIndex + step));
        this.tell(next);
        const p = this.sortedPoints[next];
        this.plot?.setCursor({ left: this.plot.valToPos(p.x, "x"), top: this.plot.valToPos(p.y, "y") });
      }
    });
  }

  private tell(index: number): void {
    this.pickedIndex = index;
    this.picked(this.sortedPoints[index].sample);
  }

  show(d: PlotData): void {
    this.plot?.destroy();
    this.data = d;
    this.sortedPoints = [...d.points].sort((a, b) => a.x - b.x);
    this.pickedIndex = -1;
    const colour = getComputedStyle(document.body).color;
    const accent = getComputedStyle(document.documentElement).getPropertyValue("--accent").trim() || "#0b5cad";
    const faint = d.points.length > 2000 ? 0.35 : 0.8;
    const options: uPlot.Options = {
      title: d.title,
      width: Math.max(320, this.host.clientWidth || 800),
      height: 420,
      scales: { x: { time: false } },
      legend: { show: false },
      cursor: { drag: { x: false, y: false }, points: { show: false } },
      axes: [
        { label: d.xTitle, stroke: colour, grid: { stroke: "#8884" } },
        { label: d.yTitle, stroke: colour, grid: { stroke: "#8884" } },
      ],
      series: [
        {},
        { label: "samples", stroke: accent, paths: () => null, points: { show: true, size: 5, width: 1, fill: `rgba(127,127,127,${faint})` } },
        { label: "regression line", stroke: colour, width: 2, spanGaps: true, points: { show: false } },
        { label: "band", stroke: colour, dash: [3, 4], spanGaps: true, points: { show: false } },
        { label: "band", stroke: colour, dash: [3, 4], spanGaps: true, points: { show: false } },
        { label: "bootstrap band", stroke: "#c62828", dash: [8, 4], spanGaps: true, points: { show: false } },
        { label: "bootstrap band", stroke: "#c62828", dash: [8, 4], spanGaps: true, points: { show: false } },
      ],
    };
    this.plot = new uPlot(options, columns(d), this.host);
    this.plot.over.addEventListener("click", () => this.pick());
  }

  // The sample nearest to the pointer.
  private pick(): void {
    const u = this.plot;
    if (!u || !this.data || u.cursor.left === undefined || u.cursor.left < 0) {
      return;
    }
    const x = u.posToVal(u.cursor.left, "x");
    const y = u.posToVal(u.cursor.top ?? 0, "y");
    const xSpan = (u.scales.x.max ?? 1) - (u.scales.x.min ?? 0) || 1;
    const ySpan = (u.scales.y.max ?? 1) - (u.scales.y.min ?? 0) || 1;
    let best = -1;
    let bestDistance = Infinity;
    this.sortedPoints.forEach((p, i) => {
      const distance = ((p.x - x) / xSpan) ** 2 + ((p.y - y) / ySpan) ** 2;
      if (distance < bestDistance) {
        bestDistance = distance;
        best = i;
      }
    });
    if (best >= 0) {
      this.tell(best);
    }
  }

  png(): Promise<Blob> {
    const canvas = this.plot?.ctx.canvas;
    return new Promise((resolve, reject) => (canvas ? canvas.toBlob((b) => (b ? resolve(b) : reject(new Error("no image")))) : reject(new Error("no plot"))));
  }

  svg(): string {
    const d = this.data;
    const u = this.plot;
    if (!d || !u) {
      return "";
    }
    const w = 800;
    const h = 500;
    const left = 70;
    const bottom = 60;
    const x0 = u.scales.x.min ?? 0;
    const x1 = u.scales.x.max ?? 1;
    const y0 = u.scales.y.min ?? 0;
    const y1 = u.scales.y.max ?? 1;
    const px = (x: number) => (left + ((x - x0) / (x1 - x0 || 1)) * (w - left - 20)).toFixed(1);
    const py = (y: number) => (h - bottom - ((y - y0) / (y1 - y0 || 1)) * (h - bottom - 40)).toFixed(1);
    const escape = (t: string) => t.replace(/&/g, "&amp;").replace(/</g, "&lt;");
    const parts = [
      `<svg xmlns="http://www.w3.org/2000/svg" width="${w}" height="${h}" viewBox="0 0 ${w} ${h}" font-family="sans-serif">`,
      `<rect width="${w}" height="${h}" fill="white"/>`,
      `<text x="${w / 2}" y="24" text-anchor="middle" font-size="15">${escape(d.title)}</text>`,
      `<rect x="${left}" y="40" width="${w - left - 20}" height="${h - bottom - 40}" fill="none" stroke="black"/>`,
      `<text x="${(left + w) / 2}" y="${h - 15}" text-anchor="middle" font-size="13">${escape(d.xTitle)}</text>`,
      `<text x="18" y="${(h - bottom) / 2}" text-anchor="middle" font-size="13" transform="rotate(-90 18 ${(h - bottom) / 2})">${escape(d.yTitle)}</text>`,
    ];
    for (const [value, axis] of [[x0, "x"], [x1, "x"], [y0, "y"], [y1, "y"]] as [number, string][]) {
      parts.push(axis === "x"
        ? `<text x="${px(value)}" y="${h - bottom + 16}" text-anchor="middle" font-size="11">${value.toFixed(2)}</text>`
        : `<text x="${left - 6}" y="${py(value)}" text-anchor="end" font-size="11">${value.toFixed(2)}</text>`);
    }
    for (const p of d.points) {
      parts.push(`<circle cx="${px(p.x)}" cy="${py(p.y)}" r="2.5" fill="none" stroke="#0b5cad"/>`);
    }
    if (d.line) {
      parts.push(`<line x1="${px(d.line.xmin)}" y1="${py(d.line.m * d.line.xmin + d.line.b)}" x2="${px(x1)}" y2="${py(d.line.m * x1 + d.line.b)}" stroke="black" stroke-width="2"/>`);
    }
    const polyline = (band: (number | null)[][], side: number, style: string) => {
      const points = band.flatMap((b, k) => (b[side] === null ? [] : [`${px(0.1 * (k + 1))},${py(b[side] as number)}`]));
      if (points.length > 1) {
        parts.push(`<polyline points="${points.join(" ")}" fill="none" ${style}/>`);
      }
    };
    for (const side of [0, 1]) {
      polyline(d.band, side, `stroke="black" stroke-dasharray="3 4"`);
      polyline(d.bootstrapBand, side, `stroke="#c62828" stroke-dasharray="8 4"`);
    }
    parts.push("</svg>");
    return parts.join("\n");
  }
}
