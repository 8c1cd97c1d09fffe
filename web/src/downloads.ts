// Files handed to the user: a download made on this computer, nothing sent anywhere.

export function download(name: string, data: BlobPart, type = "application/octet-stream"): void {
  const url = URL.createObjectURL(new Blob([data], { type }));
  const link = document.createElement("a");
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60_000);
}
