// The network list of a pane.
#pragma once

class CQvView;

// The pane shows the network's top level.
void ShowNetworkList(CQvView& view, int pane);
// Enter on a network row: a level deeper, or the share's folder.
void EnterNetworkResource(CQvView& view, int pane);
