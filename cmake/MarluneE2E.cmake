# End-to-end harness helpers: filled in by the work on the host link.
