# Conditions: the engine's refusals as errors of class torrentix_error, its notes as
# warnings of class torrentix_note; both carry the engine's message exactly.

torrentix_error <- function(message, call = NULL) {
  structure(class = c("torrentix_error", "error", "condition"),
            list(message = enc2utf8(message), call = call))
}

torrentix_note <- function(message) {
  structure(class = c("torrentix_note", "warning", "condition"),
            list(message = enc2utf8(message), call = NULL))
}

# The value of an engine call, or its refusal raised as a torrentix_error.
engine_result <- function(value, call = sys.call(-1)) {
  if (inherits(value, "torrentix_failure")) {
    stop(torrentix_error(value$message, call))
  }
  value
}

# An error of the package's own checks of its arguments, of the same class.
refuse <- function(..., call = sys.call(-1)) {
  stop(torrentix_error(paste0(...), call))
}

tell_notes <- function(notes) {
  for (note in notes) {
    warning(torrentix_note(note))
  }
  invisible(notes)
}
