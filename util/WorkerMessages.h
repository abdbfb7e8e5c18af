// Command ids that worker threads post (as WM_COMMAND) to the dialog that owns them,
// and that a finishing worker dialog posts to the main view.
#pragma once

#define IDM_MODELESS_DONE 663  // a modeless worker dialog has finished
#define IDM_WORKER_FAILED 1519 // the worker stopped on a failure
#define IDM_WORKER_DONE 1520   // the worker finished (or stopped because it was asked to)
