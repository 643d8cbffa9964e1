#include "import/informe_claves.h"

namespace durlavex {

namespace {

// What each kind of problem is called and what the person can do about it,
// in the order of Problema.
struct TextoProblema {
    const char* titulo;
    const char* queHacer;
};

constexpr TextoProblema kTextos[kTiposProblema] = {
    {"Unidades que Vorna no conoce (X_UNIDAD)",
     "cree en Vorna la unidad con esa clave, o en Talvorin dé esas lecciones a un grupo que venga de "
     "Vorna y vuelva a importar."},
    {"Cursos que Vorna no conoce (X_OFERTAMATRIG)",
     "cree en Vorna el curso con esa clave, o en Talvorin corrija el grupo o la materia de esas lecciones "
     "y vuelva a importar."},
    {"Materias que Vorna no tiene en el curso de la lección (X_MATERIAOMG)",
     "cree en Vorna la materia en ese curso, o en Talvorin dé a esas lecciones una materia de su curso y "
     "vuelva a importar."},
    {"Tramos horarios que Vorna no conoce (X_TRAMO)",
     "cree en Vorna el tramo con esa clave, o en Talvorin pase esas lecciones a horas de la plantilla "
     "exportada y vuelva a importar."},
    {"Lecciones en una hora que no es un tramo de la plantilla (X_TRAMO vacío)",
     "en Talvorin pase esas lecciones a una hora de la plantilla y vuelva a importar, o cree en Vorna el "
     "tramo de esa hora y exporte de nuevo."},
    {"Dependencias que Vorna no conoce (X_DEPENDENCIA)",
     "dé de alta en Vorna la dependencia con ese código (a una dependencia sin código en Vorna, Talvorin "
     "le da uno hecho con su nombre), o en Talvorin dé a esas lecciones un aula que venga de Vorna y "
     "vuelva a importar."},
    {"Actividades que Vorna no conoce (X_ACTIVIDAD)",
     "cree en Vorna la actividad con ese código, o en Talvorin dé a esas lecciones una actividad que venga "
     "de Vorna y vuelva a importar."},
    {"Clases sin unidad (X_UNIDAD vacío)",
     "en Talvorin dé esas clases a un grupo que venga de Vorna y vuelva a importar (un grupo creado en "
     "Talvorin no existe en Vorna: créelo antes en Vorna y exporte de nuevo)."},
    {"Clases sin materia (X_MATERIAOMG vacío)",
     "en Talvorin dé a esas clases una materia que Vorna tenga en el curso del grupo y vuelva a importar "
     "(una materia creada en Talvorin no existe en Vorna: créela antes en Vorna y exporte de nuevo)."},
};

std::string Lecciones(int n)
{
    return std::to_string(n) + (n == 1 ? " lección" : " lecciones");
}

std::string QueEsUnaClase(const std::string& tareaDocencia)
{
    if (tareaDocencia.empty())
        return "Una clase es una lección sin actividad.";
    return "Una clase es una lección de la actividad de docencia «" + tareaDocencia + "» o sin actividad.";
}

void AgregarTipo(std::string& texto, const InformeClaves& informe, std::size_t i)
{
    const ProblemasDeUnTipo& tipo = informe.problemas[i];
    const auto problema = static_cast<Problema>(i);
    texto += "\n\n";
    texto += kTextos[i].titulo;
    texto += ": " + Lecciones(tipo.lecciones);
    if (tipo.clavesDistintas > 1)
        texto += ", " + std::to_string(tipo.clavesDistintas) + " claves distintas";
    else if (tipo.clavesDistintas == 1)
        texto += ", una sola clave";
    texto += ".";
    if (problema == Problema::ClaseSinUnidad || problema == Problema::ClaseSinMateria)
        texto += " " + QueEsUnaClase(informe.tareaDocencia);
    texto += "\nQué hacer: ";
    texto += kTextos[i].queHacer;
    for (const EjemploProblema& ejemplo : tipo.ejemplos)
        texto += "\n  - " + (ejemplo.clave.empty() ? "" : ejemplo.clave + ": ") + ejemplo.leccion;
    const int resto = tipo.lecciones - static_cast<int>(tipo.ejemplos.size());
    if (resto > 0)
        texto += "\n  - y " + Lecciones(resto) + " más.";
}

} // namespace

std::string TextoInformeClaves(const InformeClaves& informe, std::string_view deQue)
{
    std::string texto = "Comprobación para Vorna" + std::string(deQue) + ": ";
    if (informe.lecciones == 0)
        return texto + "no hay lecciones que comprobar.";
    if (informe.sinClavesDeVorna)
        return texto + "no se han podido comprobar las claves de " +
               (informe.lecciones == 1 ? std::string("la única lección")
                                       : "las " + Lecciones(informe.lecciones)) +
               ": el archivo de intercambio no trae ninguno de los grupos de datos UNIDADES, "
               "CURSOS_DEL_CENTRO, "
               "MATERIAS, TRAMOS_HORARIOS, DEPENDENCIAS ni ACTIVIDADES. Compruebe que es el archivo que "
               "exportó Vorna para este horario.";
    if (informe.leccionesConProblemas == 0)
        return texto + "Vorna reconocerá las claves de " +
               (informe.lecciones == 1 ? std::string("la única lección")
                                       : "las " + Lecciones(informe.lecciones)) +
               ".";
    texto += std::to_string(informe.leccionesConProblemas) + " de " + Lecciones(informe.lecciones) +
             (informe.leccionesConProblemas == 1 ? " lleva claves" : " llevan claves") +
             " que Vorna no reconocerá: Vorna rechazará esas lecciones o las dejará fuera sin avisar.";
    for (std::size_t i = 0; i < kTiposProblema; ++i)
        if (informe.problemas[i].lecciones > 0)
            AgregarTipo(texto, informe, i);
    return texto;
}

} // namespace durlavex
