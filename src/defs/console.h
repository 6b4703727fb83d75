// Console lines: printed as formatted, flushed at once so that whoever reads
// the output sees them in order, also the lines without a line break.
#pragma once

void Say(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
