// The points of a scatter plot taken from a run's views.

import type { PlotPoints } from "./plot";
import type { ViewArrays } from "./protocol";

// The samples of an index against a test variable, in ascending order of the test variable's
// values, as the engine ordered them.
export function plotPoints(views: ViewArrays | null, index: "star" | "gig", k: number): PlotPoints {
  const samples = views?.byTestValue[k] ?? new Uint32Array(0);
  const xValues = views?.values[2 + k];
  const yValues = views?.values[index === "star" ? 0 : 1];
  const x = new Float64Array(samples.length);
  const y = new Float64Array(samples.length);
  samples.forEach((sample, i) => {
    x[i] = xValues![sample];
    y[i] = yValues![sample];
  });
  return { x, y, samples };
}
