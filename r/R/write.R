#' Write the results file of a run
#'
#' Writes the results file `NAME_OUT.txt` of a run, the same bytes as the batch command
#' writes for the same data and options (CR LF line ends, Windows-1252 or UTF-8 as the
#' data's texts need), but for its date and time lines, which are those of the run unless
#' given here.
#'
#' @param run A run of [icm()].
#' @param path Where to write it.
#' @param date,time The results file's date and time lines (lines 3 and 4), to write other
#'   ones than the run's.
#' @return `path`, invisibly.
#' @examples
#' path <- system.file("extdata", "alpine.txt", package = "torrentix")
#' run <- suppressWarnings(icm(path, "Alpine", "R-A2", biological = 1, threads = 1))
#' out <- tempfile(fileext = "_OUT.txt")
#' write_results(run, out, date = "2026-12-06", time = "10:00")
#' readLines(out, n = 4)
#' @export
write_results <- function(run, path, date = NULL, time = NULL) {
  if (!inherits(run, "torrentix_run")) {
    refuse("run must be a run of icm().", call = NULL)
  }
  bytes <- run$results
  if (!is.null(date) || !is.null(time)) {
    bytes <- replace_lines(bytes, c(date, time)[c(!is.null(date), !is.null(time))],
                           c(3L, 4L)[c(!is.null(date), !is.null(time))])
  }
  connection <- file(path, "wb")
  on.exit(close(connection))
  writeBin(bytes, connection)
  invisible(path)
}

# The bytes of a CR LF text with lines `at` (1-based) replaced by `lines` (ASCII or UTF-8;
# in a Windows-1252 file they are converted).
replace_lines <- function(bytes, lines, at) {
  ends <- which(bytes == as.raw(13L) & c(utils::tail(bytes, -1L) == as.raw(10L), FALSE))
  starts <- c(1L, ends + 2L)
  utf8 <- !is.na(iconv(rawToChar(bytes[bytes != as.raw(0L)]), "UTF-8", "UTF-8")) &&
    any(bytes > as.raw(127L))
  for (k in order(at, decreasing = TRUE)) {
    line <- enc2utf8(as.character(lines[k]))
    text <- if (utf8) line else iconv(line, "UTF-8", "CP1252", sub = "?")
    first <- starts[at[k]]
    last <- ends[at[k]] - 1L
    bytes <- c(bytes[seq_len(first - 1L)], charToRaw(text), bytes[(last + 1L):length(bytes)])
  }
  bytes
}
