// Compiled by the layer tests with one layer's include path: includes the header they name.
#include LAPWERK_PROBE_HEADER
