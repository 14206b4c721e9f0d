// Answers a drag of files onto the application (enter, move or drop) as a
// copy, or as a link where the source offers no copy: never as a move, after
// which a drag source deletes its originals. A drag that carries no URLs or
// offers only a move is refused. Returns whether the event was accepted.
#pragma once

class QDropEvent;

bool acceptUrlDrop(QDropEvent& event);
