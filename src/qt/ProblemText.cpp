#include "qt/ProblemText.h"

#include "words/ProblemWords.h"

#include <QFile>

QString ProblemText(const FileProblem& problem)
{
    const PathShower show = [](const std::string& path) {
        return QFile::decodeName(QByteArray::fromStdString(path)).toStdString();
    };
    return QString::fromStdString(DescribeProblem(problem, show));
}
