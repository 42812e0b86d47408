#pragma once
// Unreal text maps for the parser and import tests, laid out as UnrealEd writes them.
#include <QFileInfo>
#include <QString>

#include <string>
#include <vector>

#include "FormatTestText.h"

namespace terravel::test {

// A builder brush with one square, a brush with a five-sided and a three-sided polygon that share
// two corners with it (one written as -0), a light and a mover whose brush block belongs to no
// brush actor. Through scale 1 it gives ten nodes and six triangles, Z from -120 to 130.
inline std::string RealLookingMap() {
  return FileText(R"(Begin Map
Begin Actor Class=LevelInfo Name=LevelInfo0
     TimeSeconds=31.508812
     Level=LevelInfo'MyLevel.LevelInfo0'
     Name="LevelInfo0"
End Actor
Begin Actor Class=Brush Name=Brush0
     MainScale=(SheerAxis=SHEER_ZX)
     Level=LevelInfo'MyLevel.LevelInfo0'
     Begin Brush Name=Brush
       Begin PolyList
          Begin Polygon
             Origin   -00128.000000,-00128.000000,-00120.000000
             Normal   -00001.000000,+00000.000000,+00000.000000
             TextureU +00000.000000,+00001.000000,+00000.000000
             TextureV +00000.000000,+00000.000000,-00001.000000
             Vertex   -00128.000000,-00128.000000,-00120.000000
             Vertex   -00128.000000,-00128.000000,+00130.000000
             Vertex   -00128.000000,+00128.000000,+00130.000000
             Vertex   -00128.000000,+00128.000000,-00120.000000
          End Polygon
       End PolyList
     End Brush
     Brush=Model'MyLevel.Brush'
     Name="Brush0"
End Actor
Begin Actor Class=Brush Name=Brush1
     CsgOper=CSG_Add
     Begin Brush Name=Model1
       Begin PolyList
          Begin Polygon Item=Top Texture=GenEarth.Grass Flags=32768 Link=0
             Origin   +00000.000000,+00000.000000,+00064.000000
             Normal   +00000.000000,+00000.000000,+00001.000000
             Pan      U=12 V=48
             TextureU +00001.000000,+00000.000000,+00000.000000
             TextureV +00000.000000,+00001.000000,+00000.000000
             Vertex   +00000.000000,+00000.000000,+00064.000000
             Vertex   +00256.000000,+00000.000000,+00032.000000
             Vertex   +00256.000000,+00256.000000,+00000.000000
             Vertex   +00128.000000,+00384.000000,-00016.500000
             Vertex   +00000.000000,+00256.000000,-00000.000000
          End Polygon
          Begin Polygon Item=Side Texture=GenTerra.Rock Link=1
             Vertex   +00000.000000,+00000.000000,+00064.000000
             Vertex   -00128.000000,+00000.000000,-00100.000000
             Vertex   +00000.000000,+00256.000000,+00000.000000
          End Polygon
       End PolyList
     End Brush
     Name="Brush1"
End Actor
Begin Actor Class=Light Name=Light3
     LightBrightness=200
     Location=(X=64.000000,Y=32.000000,Z=96.000000)
End Actor
Begin Actor Class=Mover Name=Mover0
     Begin Brush Name=Model2
       Begin PolyList
          Begin Polygon Item=Door Texture=Metal.Door
             Vertex   +00900.000000,+00900.000000,+00900.000000
             Vertex   +00901.000000,+00900.000000,+00900.000000
             Vertex   +00901.000000,+00901.000000,+00900.000000
          End Polygon
       End PolyList
     End Brush
     KeyNum=1
End Actor
End Map
)");
}

// A whole map around the given body lines (plain line breaks become CR LF).
inline std::string MapWithBody(const std::string& body) {
  return FileText("Begin Map\n" + body + "End Map\n");
}

// One brush actor named after the brush, holding one polygon with the given item lines.
inline std::string BrushActor(const std::string& brushName, const std::string& polygonKeys,
                              const std::vector<std::string>& items) {
  std::string text = "Begin Actor Class=Brush Name=" + brushName + "Actor\n";
  text += "   Begin Brush" + (brushName.empty() ? std::string() : " Name=" + brushName) + "\n";
  text += "      Begin PolyList\n         Begin Polygon" + polygonKeys + "\n";
  for (const std::string& item : items) text += "            " + item + "\n";
  text += "         End Polygon\n      End PolyList\n   End Brush\nEnd Actor\n";
  return text;
}

// The path of a real UnrealEd map kept beside the project; empty when it is not there.
inline QString RealMapPath(const QString& name) {
  const QString path = QStringLiteral(TERRAVEL_SHARED_T3D) + "/" + name;
  return QFileInfo::exists(path) ? path : QString();
}

}  // namespace terravel::test
