// The precompiled test headers are built with this empty unit; the tests reuse them.
