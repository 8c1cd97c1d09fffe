library(testthat)
library(torrentix)

test_check("torrentix")
