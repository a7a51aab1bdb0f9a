#pragma once

// Gives the window and its picture the roles that assistive technology
// expects of them: a frame with its caption, and an image that describes the
// formula it shows. Safe to call more than once.
void InstallAccessibleRoles();
