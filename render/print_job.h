#pragma once

class QPainter;

namespace lapwerk {

/// Makes the first drawing of a print job send the painter's whole state to the printer.
///
/// A printer keeps its paint engine from one job to the next, and the engine keeps the pen,
/// brush and font the last job left it with; a new painter starts from the defaults and sends
/// only what differs from them. Call right after QPainter::begin on a printer.
void SendWholeStateOnFirstDraw(QPainter& painter);

} // namespace lapwerk
