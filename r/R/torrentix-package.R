#' torrentix: Intercalibration Common Metrics of river macro-invertebrates
#'
#' The Intercalibration Common Metrics (ICMs) of benthic macro-invertebrate samples, the
#' STAR_ICMi and the GIG ICMi of the five Geographical Intercalibration Groups (GIGs) of the
#' EU Water Framework Directive, their regressions against test variables and percentile
#' bootstrap intervals, computed by the engine of the Torrentix batch command
#' (`torrentix-cli`): the same numbers, to the last digit.
#'
#' Start with [icm_gigs()] for the GIGs and river types, [read_samples()] to see a sample
#' file as the engine reads it, [icm()] for a run and [resolve_taxa()] for taxon names.
#' Every refusal of the engine is an error of class `torrentix_error` carrying the engine's
#' message; what the engine notes on the way (columns merged, cells read as their leading
#' number, names corrected) comes as warnings of class `torrentix_note`.
#'
#' The taxa database is the one installed with the package; the option
#' `torrentix.taxa_db` names another.
#'
#' @keywords internal
#' @useDynLib torrentix, .registration = TRUE
#' @importFrom Rcpp evalCpp
"_PACKAGE"

.state <- new.env(parent = emptyenv())

# The taxa database, opened once per session (and again when another is named).
taxa_database <- function() {
  path <- getOption("torrentix.taxa_db", system.file("ICMTAXA.db", package = "torrentix"))
  if (!identical(.state$path, path) || is.null(.state$taxa)) {
    .state$taxa <- engine_result(engine_taxa(path.expand(path)))
    .state$path <- path
  }
  .state$taxa
}
