// The x read-out Text1, the carrier of x: the steps write P's distance into
// it, and the graph and the table read x back from its text.
#include "app/Form1.h"

#include "motion/StripRules.h"
#include "ui/NumberForm.h"

#include <QAccessible>
#include <QLineEdit>

void Form1::setDistanceText(double x)
{
    Text1->setText(motion::distanceText(x));
    // Screen readers hear the new x as a value change of the read-out.
    QAccessibleValueChangeEvent event(Text1, Text1->text());
    QAccessible::updateAccessibility(&event);
    emit distanceChanged(Text1->text());
}

double Form1::distance() const { return ui::leadingNumber(Text1->text()); }
