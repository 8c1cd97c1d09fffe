#' Resolve taxon names to families
#'
#' Each name as the engine resolves a taxon column of a sample file under
#' `unknown = "suggest"`, your taxa map answering first: a family or a synonym of the taxa
#' database, then the name with its qualifiers set aside, the taxon dictionary (a species it
#' lacks by its genus), the family named after the genus, and the family sharing the
#' longest leading part of the name (a guess).
#'
#' @param names Taxon names as field sheets write them ("Ephemera danica", "Baetis sp.").
#' @param taxa_map Your own answers, applied first: the path of a taxa map, or a data frame
#'   of names and families (see [icm()]).
#' @return A data frame, one row per name: `name`, `family` (`NA` where none is given),
#'   `source` (taxa database, synonym, taxa map, taxon dictionary, type-genus rule, prefix
#'   rule (a guess), higher group, or ignored), `evidence` (what the source knew),
#'   `counted_as` (the family the metrics count it as, where that is an older one), `guess`
#'   (the family comes from the spelling alone), `disputed` (two sources give two families:
#'   none is taken; answer it in your taxa map) and `said` (what the sources say of a name the
#'   database does not know).
#' @examples
#' resolve_taxa(c("Baetidae", "Ephemera danica", "Potamopyrgus antipodarum", "Hydrobius novus"))
#' @export
resolve_taxa <- function(names, taxa_map = NULL) {
  names <- enc2utf8(as.character(names))
  if (anyNA(names) || any(grepl("[\t\r\n]", names))) {
    refuse("names must be texts without NA, TAB or line break.", call = NULL)
  }
  if (length(names) == 0L) {
    names <- character()
  }
  resolved <- engine_result(engine_resolve(taxa_database(), names,
                                           list(taxa_map = taxa_map_setting(taxa_map))))
  record <- taxa_record(resolved$record)
  data.frame(name = names, family = record$family, source = record$source, evidence = record$evidence,
             counted_as = record$counted_as, guess = record$source %in% "prefix rule (a guess)",
             disputed = resolved$disputed, said = ifelse(resolved$evidence == "", NA, resolved$evidence),
             stringsAsFactors = FALSE)
}
