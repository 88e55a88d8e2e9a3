#include "qt/ProblemText.h"

#include "words/ProblemWords.h"
#include "qt/FilePaths.h"

#include <QFile>

QString ProblemText(const FileProblem& problem)
{
    const PathShower show = [](const std::string& path) {
        return DecodePath(path).toStdString();
    };
    return QString::fromStdString(DescribeProblem(problem, show));
}
