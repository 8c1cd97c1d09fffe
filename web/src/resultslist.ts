// The sortable results list: only the rows in view are in the page, so that 200,000
// samples scroll smoothly. A header button sorts by its column, again in reverse.

const rowHeight = 26; // pixels, as .list-row in the style

export class ResultsList {
  private rows: string[][] = [];
  private order: number[] = [];
  private sortColumn = 0;
  private descending = false;

  constructor(
    private readonly head: HTMLElement,
    private readonly body: HTMLElement,
    private readonly spacer: HTMLElement,
  ) {
    body.addEventListener("scroll", () => this.render());
  }

  show(headers: string[], rows: string[][]): void {
    this.rows = rows;
    this.order = rows.map((_, i) => i);
    this.sortColumn = 0;
    this.descending = false;
    this.head.replaceChildren(
      ...headers.map((header, column) => {
        const button = document.createElement("button");
        button.type = "button";
        button.textContent = header;
        button.setAttribute("role", "columnheader");
        button.setAttribute("aria-label", `Sort by ${header}`);
        button.addEventListener("click", () => this.sortBy(column));
        return button;
      }),
    );
    // Number, code, sample and class, then the numbers, sharing what is left.
    this.head.parentElement?.style.setProperty("--columns", `3rem 6rem 9rem 3.5rem repeat(${headers.length - 4}, minmax(4.5rem, 1fr))`);
    this.spacer.style.height = `${rows.length * rowHeight}px`;
    this.body.scrollTop = 0;
    this.render();
  }

  sortBy(column: number): void {
    this.descending = column === this.sortColumn ? !this.descending : false;
    this.sortColumn = column;
    const key = (i: number) => this.rows[i][column];
    const numeric = this.rows.every((row) => row[column] === "" || !Number.isNaN(Number(row[column])));
    const compare = numeric
      ? (a: number, b: number) => Number(key(a)) - Number(key(b))
      : (a: number, b: number) => key(a).localeCompare(key(b));
    this.order.sort((a, b) => (this.descending ? compare(b, a) : compare(a, b)) || a - b);
    this.head.querySelectorAll("button").forEach((button, i) => {
      button.setAttribute("aria-sort", i === column ? (this.descending ? "descending" : "ascending") : "none");
    });
    this.render();
  }

  private render(): void {
    const first = Math.floor(this.body.scrollTop / rowHeight);
    const count = Math.ceil(this.body.clientHeight / rowHeight) + 2;
    const visible: HTMLElement[] = [];
    for (let k = first; k < Math.min(this.order.length, first + count); ++k) {
      const row = document.createElement("div");
      row.className = "list-row";
      row.setAttribute("role", "row");
      row.style.top = `${k * rowHeight}px`;
      for (const cell of this.rows[this.order[k]]) {
        const span = document.createElement("span");
        span.setAttribute("role", "gridcell");
        span.textContent = cell;
        row.append(span);
      }
      visible.push(row);
    }
    this.body.replaceChildren(this.spacer, ...visible);
  }
}
