#' Print, summarise and plot a run
#'
#' `print` shows the GIG, the river type, the samples, the normalisation rule and every
#' regression; `summary` gives the regressions and the spread of both indices;
#' `as.data.frame` the per-sample table; `plot` one index against one test variable, with
#' the fitted line and its band.
#'
#' @param x,object A run of [icm()].
#' @param ... Passed on to [graphics::plot.default()] by `plot`; unused otherwise.
#' @return `print` returns `x` invisibly; `summary` an object of class
#'   `summary.torrentix_run` (a list of `regressions` and `indices`); `as.data.frame` the
#'   data frame `x$samples`; `plot` the regression drawn, invisibly.
#' @name torrentix_run
#' @examples
#' path <- system.file("extdata", "northern.txt", package = "torrentix")
#' run <- icm(path, "Northern", "R-N2", biological = 1, bootstrap = 50, threads = 1)
#' summary(run)
#' plot(run, index = "STAR", variable = 1)
NULL

#' @rdname torrentix_run
#' @export
print.torrentix_run <- function(x, ...) {
  cat("Torrentix run:", x$gig, "GIG, river type", x$type, "\n")
  cat(nrow(x$samples), "samples,", sum(!is.na(x$taxa$family)), "taxon columns read,",
      if (x$rule == "median") "median of the Reference samples" else
        "75th percentile of the Reference and High samples", "\n")
  if (!is.null(x$intervals)) {
    cat("Bootstrap:", sub("^# ", "", sub("\n$", "", x$intervals)), "\n")
  }
  cat("Regressions:\n")
  print(regression_lines(x$regressions), row.names = FALSE)
  invisible(x)
}

regression_lines <- function(regressions) {
  shown <- regressions[, intersect(c("index", "variable", "n", "m", "m_lo", "m_hi", "b", "r2", "r2_lo",
                                     "r2_hi"), names(regressions))]
  numbers <- vapply(shown, is.double, logical(1))
  shown[numbers] <- lapply(shown[numbers], round, digits = 3)
  shown
}

#' @rdname torrentix_run
#' @export
summary.torrentix_run <- function(object, ...) {
  indices <- object$samples[c("STAR_ICMi", "GIG_ICMi")]
  structure(list(gig = object$gig, type = object$type, regressions = object$regressions,
                 indices = t(vapply(indices, function(v) c(stats_of(v)), numeric(4)))),
            class = "summary.torrentix_run")
}

stats_of <- function(v) {
  c(n = length(v), median = stats::median(v), min = min(v), max = max(v))
}

#' @rdname torrentix_run
#' @export
print.summary.torrentix_run <- function(x, ...) {
  cat("Torrentix run:", x$gig, "GIG, river type", x$type, "\n\nIndices:\n")
  print(round(x$indices, 3))
  cat("\nRegressions:\n")
  print(regression_lines(x$regressions), row.names = FALSE)
  invisible(x)
}

#' @rdname torrentix_run
#' @param row.names,optional Ignored: the table's rows are its samples.
#' @export
as.data.frame.torrentix_run <- function(x, row.names = NULL, optional = FALSE, ...) {
  x$samples
}

#' @rdname torrentix_run
#' @param y Unused.
#' @param index "STAR" for the STAR_ICMi, "GIG" for the GIG ICMi.
#' @param variable The test variable: its number 1 to 3, or its column name in
#'   `x$regressions$variable`.
#' @export
plot.torrentix_run <- function(x, y = NULL, index = c("STAR", "GIG"), variable = 1, ...) {
  index <- match.arg(index)
  regressions <- x$regressions
  row <- which(regressions$index == index &
                 (regressions$test_variable == variable | regressions$variable == variable))
  if (length(row) != 1L) {
    refuse("No regression of the ", index, " index against the test variable ", variable,
           ": a test variable needs at least six numbers to be normalised.", call = NULL)
  }
  r <- regressions[row, ]
  column <- paste0(r$variable, "_norm")
  xs <- x$samples[[column]]
  ys <- x$samples[[if (index == "STAR") "STAR_ICMi" else "GIG_ICMi"]]
  label <- if (index == "STAR") "STAR_ICMi" else paste(x$gig, "GIG ICMi")
  graphics::plot(xs, ys, type = "n", xlab = paste(r$variable, "(normalised)"), ylab = label, ...)
  band <- attr(regressions, "bands")[[row]]
  if (!is.na(r$m) && length(band$lo) > 0L && !anyNA(c(band$lo, band$hi))) {
    # The bootstrap band under the points: the 2.5th to 97.5th percentiles of the fitted line.
    graphics::polygon(c(band$x, rev(band$x)), c(band$lo, rev(band$hi)), border = NA,
                      col = grDevices::adjustcolor("grey40", 0.25))
  }
  graphics::points(xs, ys, pch = 21, bg = grDevices::adjustcolor("steelblue", 0.5), col = "steelblue4")
  if (!is.na(r$m)) {
    ends <- c(band$xmin, max(xs, na.rm = TRUE))
    graphics::lines(ends, r$b + r$m * ends, lwd = 2)
    if (length(band$x) > 0L) {
      # The method's band around the line, as the desktop program draws it.
      fit <- r$b + r$m * band$x
      graphics::lines(band$x, fit + band$half_width, lty = 2)
      graphics::lines(band$x, fit - band$half_width, lty = 2)
    }
    graphics::title(sprintf("y = %.3f x %s %.3f, r\u00b2 = %.3f, n = %d", r$m, if (r$b < 0) "-" else "+",
                            abs(r$b), r$r2, r$n), cex.main = 0.9, font.main = 1)
  }
  invisible(r)
}
