#pragma once

// The syntaxes whose values travel in a binding of their own; the partial syntaxes travel
// only inside others.
bool OvIsWireSyntax(int syntax);
