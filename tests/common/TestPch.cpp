// Carries the precompiled header that the tests reuse.
