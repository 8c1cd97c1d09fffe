// The user's taxa map, kept in the browser: the answers to unknown names that "Remember
// this choice" keeps, in the format of the batch command's --taxa-map file (a name, a TAB
// and its family or IGNORE per line), importable and exportable as that file.

const storageKey = "torrentix.taxaMap";

export function loadTaxaMap(): string {
  try {
    return localStorage.getItem(storageKey) ?? "";
  } catch {
    return ""; // storage refused (private window): the map lives as long as the page
  }
}

export function saveTaxaMap(text: string): void {
  try {
    localStorage.setItem(storageKey, text);
  } catch {
    // kept for this page only
  }
}

// The map with `name` answered by `family`, replacing an earlier answer to that name.
export function withAnswer(map: string, name: string, family: string): string {
  const upper = name.trim().toUpperCase();
  const lines = map.split(/\r?\n/).filter((line) => line.trim() !== "" && line.split("\t")[0].trim().toUpperCase() !== upper);
  lines.push(`${name}\t${family}`);
  return lines.join("\n") + "\n";
}

export function entryCount(map: string): number {
  return map.split(/\r?\n/).filter((line) => line.includes("\t") && !line.startsWith("#")).length;
}
