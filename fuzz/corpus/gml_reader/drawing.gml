Creator "ogdf::GraphAttributes::writeGML"
graph [
  directed 1
  node [
    id 0
    template "a b 1 2"
    label "1"
    graphics [
      x 15.00000000
      y 15.00000000
      w 30.00000000
      h 30.00000000
      fill "#ADD8E6"
      line "#4682b4"
      pattern "1"
      stipple 1
      lineWidth 2.000000000
      type "rectangle"
      width 1.0
    ]
  ]
  node [
    id 1
    label "2"
    graphics [ x 15.0 y 65.0 w 30.0 h 30.0 type "oval" ]
  ]
  edge [
    source 0
    target 1
    graphics [
      type "line"
      arrow "last"
      stipple 1
      lineWidth 2.000000000
      Line [
        point [ x 15.0 y 15.0 ]
        point [ x 40.0 y 40.0 ]
        point [ x 15.0 y 65.0 ]
      ]
      fill "#000000"
    ]
  ]
]
