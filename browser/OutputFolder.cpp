#include "OutputFolder.h"

namespace OutputFolder {

Label LabelFor(const QString &folder)
{
    Label label;
    if (folder.size() < LabelLimit) {
        label.text = folder + u' ';
        return label;
    }
    label.text = QStringLiteral(" ..") + folder.right(LabelTail);
    label.centred = true;
    label.toolTip = u' ' + folder + u' ';
    return label;
}

} // namespace OutputFolder
