// The archive's browser tests drive the same fake portal as the uploads.
#include "portal/fake_portal_harness.cpp"
