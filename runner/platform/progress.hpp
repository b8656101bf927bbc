// The progress display: on a terminal, a root node and its current child,
// redrawn by one background thread so a long case shows live; erased before
// any other write to standard error and gone when the root ends. Off a
// terminal nothing is drawn.
#pragma once

#include <cstdint>
#include <string_view>

namespace quor::platform::progress {

/// Starts the root node with an estimated total of items (0: unknown) and,
/// on a terminal, the redraw thread.
void start(std::string_view root_name, std::uint64_t estimated_total);
/// Starts a child of the root; it replaces the previous child.
void startChild(std::string_view name);
/// Ends the current child and counts one item of the root as done.
void endChild();
/// Ends the root, stops the redraw thread and erases the display.
void end();

/// Erases whatever is drawn. Called with the standard-error lock held.
void clearLocked();

}  // namespace quor::platform::progress
