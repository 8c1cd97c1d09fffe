#' The GIGs and their river types
#'
#' Every Geographical Intercalibration Group with its river types, as the batch command's
#' `--list-types` lists them.
#'
#' @return A data frame, one row per river type: `gig` (the GIG's caption), `gig_code` (its
#'   first three letters) and `number` (0 to 4), each of which [icm()] takes, `type` (the river-type code, `R-A1` to `R-N8`), `caption`
#'   (code and description, as the results file writes it) and `description`.
#' @examples
#' gigs <- icm_gigs()
#' subset(gigs, gig == "Mediterranean")
#' @export
icm_gigs <- function() {
  engine_gigs()
}
