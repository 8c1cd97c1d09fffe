#' Read a sample file as the engine reads it
#'
#' Reads a tab-separated sample file (a title line, the header `CODE SAMPLE CLASS`, three
#' test variables and one column per taxon, then one sample per line) as the batch command
#' reads it: UTF-16 and Windows-1252 text, quoted cells, decimal commas (with
#' `decimal_comma = TRUE`), the data ending at the first blank line, abundance cells that are
#' not plain numbers read as their leading number. Every taxon column is kept as written
#' (no name is resolved, no column merged), so that the data frame can be corrected and
#' given to [icm()].
#'
#' @param path The sample file.
#' @param decimal_comma Read numbers written with a decimal comma ("12,5") as such; without
#'   it such a file is refused, as by the batch command.
#' @param read_past_blank_lines Read the lines after a blank line inside the data too.
#' @param threads Threads that parse the file; `NULL` for one per core.
#' @return A data frame in the sample file's layout: the code, the whole sample name, the
#'   class (6 Reference to 1 Bad, 0 Not Classified), the three test variables (`NA` where a
#'   cell is not a number) and one column per taxon, named as in the file. Samples whose
#'   abundances add up to 0 are left out, as the engine leaves them out. Its attributes:
#'   `title` (line 1), `notes` (what the reader did that its user should know),
#'   `doubtful_cells` (the first ten abundance cells that are not plain numbers, with their
#'   line, column, taxon, text and the value taken; attribute `total`: how many there are),
#'   `unknown_names` (the taxon names that are neither a family nor a synonym of the taxa
#'   database, with their column and what the taxon dictionary and the naming rules say of
#'   them) and `same_names` (sample codes and names that the outputs cannot tell apart).
#' @examples
#' path <- system.file("extdata", "mediterranean-genera.txt", package = "torrentix")
#' samples <- read_samples(path, threads = 1)
#' dim(samples)
#' head(attr(samples, "unknown_names"))
#' @export
read_samples <- function(path, decimal_comma = FALSE, read_past_blank_lines = FALSE, threads = NULL) {
  if (!is_path(path)) {
    refuse("path must be the path of a sample file.", call = NULL)
  }
  read <- engine_result(engine_read(taxa_database(), path_source(path), isTRUE(decimal_comma),
                                    isTRUE(read_past_blank_lines), thread_count(threads)))
  samples <- read$samples
  attr(samples, "title") <- read$title
  attr(samples, "notes") <- read$notes
  attr(samples, "doubtful_cells") <- read$doubtful_cells
  attr(samples, "unknown_names") <- read$unknown_names
  attr(samples, "same_names") <- read$same_names
  samples
}

thread_count <- function(threads) {
  if (is.null(threads)) {
    return(0L)
  }
  if (!is.numeric(threads) || length(threads) != 1L || is.na(threads) || threads < 1 || threads > 1024) {
    refuse("threads must be a whole number from 1 to 1024, or NULL for one per core.", call = NULL)
  }
  as.integer(threads)
}
